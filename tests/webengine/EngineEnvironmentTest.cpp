// The engine's environment is read once per process, so this test runs a help
// session in a child process, this program run again, and watches it.
#include "browser/BrowserView.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>

namespace {

const QByteArray kCanary = "tavlin-canary-91c4";

// A page that tries to read the canary beside the help folder and to use
// every kind of storage.
const char kPage[] = R"(<canvas id=c></canvas><script>(async () => {
  let read = 'none';
  try {
    const x = new XMLHttpRequest(); x.open('GET', 'file://@FOLDER@/Outside/canary.txt', false); x.send();
    if (x.responseText.includes('@CANARY@')) read = 'canary';
  } catch (e) {}
  try { localStorage.setItem('k', 'v'); } catch (e) {}
  try { document.cookie = 'k=v; max-age=99999'; } catch (e) {}
  try { indexedDB.open('db').onupgradeneeded = e => e.target.result.createObjectStore('s'); } catch (e) {}
  try { await (await caches.open('c')).put('x', new Response('y')); } catch (e) {}
  try {
    const g = document.getElementById('c').getContext('webgl'), s = g.createShader(g.FRAGMENT_SHADER);
    g.shaderSource(s, 'void main(){gl_FragColor=vec4(1);}'); g.compileShader(s);
  } catch (e) {}
  await new Promise(r => setTimeout(r, 1000));
  document.title = 'done ' + read;
})();</script>)";

// The field `name` of /proc/`pid`/status.
QByteArray statusOf(const QByteArray &pid, const QByteArray &name)
{
    QFile status(QString::fromLatin1("/proc/" + pid + "/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed();
    return QByteArray();
}

} // namespace

// The session, run by main() when TAVLIN_HELP_SESSION names its page (under
// TAVLIN_HELP_FOLDER): prints the title once it starts "done" and the seccomp
// mode of each engine process (the sandboxed renderers, below its zygote, run
// under a filter), then ends.
int runHelpSession()
{
    Help help;
    help.setWidth(9225);
    help.setHeight(6915);
    help.HelpFolder = qEnvironmentVariable("TAVLIN_HELP_FOLDER");
    help.Adresse = qEnvironmentVariable("TAVLIN_HELP_SESSION");
    help.Init();
    help.window()->show();
    auto *view = qobject_cast<QWebEngineView *>(help.window()->WebBrowser->widget());
    if (!view)
        return 3;
    QElapsedTimer timer; // the engine needs the event loop running while it waits
    for (timer.start(); !view->page()->title().startsWith("done") && timer.elapsed() < 20000;)
        QTest::qWait(50);
    std::cout << "title: " << view->page()->title().toStdString() << std::endl;
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QByteArray parent = pid.toLatin1();
        for (int depth = 0; depth < 6 && !parent.isEmpty() && parent != self; ++depth)
            parent = statusOf(parent, "PPid");
        if (parent == self && pid.toLatin1() != self)
            std::cout << "engine process seccomp "
                      << statusOf(pid.toLatin1(), "Seccomp").constData() << std::endl;
    }
    help.Unload();
    return 0;
}

// Debugging ports, flags that weaken web security and the sandbox switched
// off, all set in the environment the visualisation passes on: no port opens,
// the page does not read the canary, the sandbox stays on for an ordinary
// user, and the session writes nothing under its fresh home and temporary
// folder.
TEST(EngineEnvironmentTest, HostileEnvironmentOpensNothingWritesNothingAndKeepsTheSandbox)
{
    TempFolder folder;
    const QString home = folder.path() + "/home", temp = folder.path() + "/temp";
    ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(temp));
    folder.write("Outside/canary.txt", kCanary);
    folder.write("Help/English/P.html",
        QByteArray(kPage)
            .replace("@FOLDER@", QFile::encodeName(folder.path()))
            .replace("@CANARY@", kCanary));

    // A port free until the session starts, asked for by both the debugging
    // variable and the debugging switch: neither may open it.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME" })
        environment.remove(name);
    environment.insert("HOME", home);
    environment.insert("TMPDIR", temp);
    environment.insert("TAVLIN_HELP_FOLDER", folder.path() + "/Help\\");
    environment.insert("TAVLIN_HELP_SESSION", folder.path() + "/Help\\English\\P.html");
    environment.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    environment.insert("QTWEBENGINE_REMOTE_DEBUGGING", QStringLiteral("127.0.0.1:%1").arg(port));
    environment.insert("QTWEBENGINE_CHROMIUM_FLAGS",
        QStringLiteral("--remote-debugging-port=%1 --disable-web-security --no-sandbox "
                       "--allow-file-access-from-files --user-data-dir=%2/data --disable-gpu")
            .arg(port)
            .arg(home));

    QStringList command { QCoreApplication::applicationFilePath() };
    QString unsandboxed; // why the session runs without the sandbox, if it must
    if (geteuid() == 0) {
        // Run the session as "nobody" on an X server of its own (xvfb-run,
        // which the build requires), from copies of this program and the
        // engine plugin, which the build folder may keep out of its reach.
        const QStringList nobody { "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups" };
        const QString bin = folder.path() + "/bin/";
        if (QProcess::execute(
                nobody[0], nobody.mid(1) + QStringList { "unshare", "--user", "true" }))
            unsandboxed = "setpriv is missing or no ordinary user may create a user namespace "
                          "here, which the engine's sandbox needs";
        else if (QDir().mkpath(bin) && QFile::copy(command[0], bin + "session")
            && QFile::copy(TAVLIN_BINARY_DIR "/bin/libtavlin_webengine.so", bin + "engine.so")) {
            command = nobody
                + QStringList { "xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", bin + "session" };
            environment.insert("TAVLIN_ENGINE_PLUGIN", bin + "engine.so");
        }
    }
    QProcess::execute("chmod", { "-R", "a+rwX", folder.path() });

    QProcess session;
    session.setProcessEnvironment(environment);
    session.setProcessChannelMode(QProcess::MergedChannels);
    session.start(command.takeFirst(), command);
    ASSERT_TRUE(session.waitForStarted());
    bool debugging = false;
    do {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        debugging = debugging || socket.waitForConnected(500);
    } while (session.state() != QProcess::NotRunning && !session.waitForFinished(100));
    const QString output = QString::fromLocal8Bit(session.readAll());

    EXPECT_TRUE(output.contains("title: done none")) << output.toStdString();
    EXPECT_FALSE(debugging) << "a debugging port was opened";
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    EXPECT_EQ(QDir(home).entryList(all), QStringList());
    EXPECT_EQ(QDir(temp).entryList({ "*tavlin*" }, all), QStringList());
    if (!unsandboxed.isEmpty())
        GTEST_SKIP() << "sandbox not checked: " << unsandboxed.toStdString();
    EXPECT_TRUE(output.contains("engine process seccomp 2")) << output.toStdString();
}
