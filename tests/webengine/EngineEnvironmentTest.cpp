// The engine's environment is read once per process, so this test runs a help
// session in a child process, this program run again, and watches it.
#include "browser/BrowserView.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "os/RealServices.h"
#include "os/ScratchFolder.h"
#include "support/TempFolder.h"
#include "webengine/HostilePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineView>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>

namespace {

const QByteArray kCanary = "tavlin-canary-91c4";

// A page that tries to read the canary beside the help folder, to use every
// kind of storage, and offers a picture to drag out of the window.
const char kPage[] = R"(<style>body{margin:0}</style><img id=p width=200 height=200
  src="data:image/gif;base64,R0lGODlhAQABAIAAAP8AAAAAACwAAAAAAQABAAACAkQBADs="><canvas id=c></canvas><script>(async () => {
  let read = 'none';
  try {
    const x = new XMLHttpRequest(); x.open('GET', 'file://@FOLDER@/Outside/canary.txt', false); x.send();
    if (x.responseText.includes('@CANARY@')) read = 'canary';
  } catch (e) {}
  try { localStorage.setItem('k', 'v'); } catch (e) {}
  try { document.cookie = 'k=v; max-age=99999'; } catch (e) {}
  try { indexedDB.open('db').onupgradeneeded = e => e.target.result.createObjectStore('s'); } catch (e) {}
  try { await (await caches.open('c')).put('x', new Response('y')); } catch (e) {}
  try { webkitRequestFileSystem(PERSISTENT, 1024, fs => fs.root.getFile('f', {create: true})); } catch (e) {}
  try { (await navigator.storage.getDirectory()).getFileHandle('f', {create: true}); } catch (e) {}
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
    const RealServices real;
    Help help(real.services(), engineUnderTest());
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
    // The operator drags the picture out of the window (xdotool, on this
    // session's display): nothing of it may be written anywhere.
    const QPoint from = view->mapToGlobal(QPoint(100, 100));
    QStringList drag { "mousemove", QString::number(from.x()), QString::number(from.y()),
        "mousedown", "1" };
    for (int step = 1; step <= 10; ++step)
        drag << "mousemove" << QString::number(from.x() + 40 * step)
             << QString::number(from.y() + 60 * step) << "sleep"
             << "0.05";
    QProcess xdotool;
    xdotool.start("xdotool",
        drag << "mouseup"
             << "1");
    for (timer.start(); xdotool.state() != QProcess::NotRunning && timer.elapsed() < 10000;)
        QTest::qWait(50);
    QTest::qWait(500);
    int written = 0; // by the drag, into the run's own temporary folder
    QDirIterator it(QFile::decodeName(scratchFolder()), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        written += it.next().endsWith(".gif");
    std::cout << "dragged " << written << ", session " << QCoreApplication::applicationPid()
              << std::endl;
    if (qEnvironmentVariableIsSet("TAVLIN_HELP_STAY"))
        for (;;)
            QTest::qWait(1000); // until killed
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
    for (const char *name : { "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR" })
        environment.remove(name);
    environment.insert("HOME", home);
    environment.insert("XDG_DATA_HOME", home + "/data");
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
    // This process's own private temporary folder holds the folder.
    QProcess::execute("chmod", { "a+x", QFileInfo(folder.path()).path() });

    // The session twice: to its end, and killed (SIGKILL) with the page open.
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const bool killed : { false, true }) {
        SCOPED_TRACE(killed ? "killed" : "ended");
        if (killed)
            environment.insert("TAVLIN_HELP_STAY", "1");
        QProcess session;
        session.setProcessEnvironment(environment);
        session.setProcessChannelMode(QProcess::MergedChannels);
        session.start(command.first(), command.mid(1));
        ASSERT_TRUE(session.waitForStarted());
        bool debugging = false;
        QString output;
        QElapsedTimer running;
        running.start();
        do {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            debugging = debugging || socket.waitForConnected(500);
            output += QString::fromLocal8Bit(session.readAll());
            const qint64 pid = output.section(", session ", 1).section('\n', 0, 0).toLongLong();
            if (killed && pid > 0)
                ::kill(pid_t(pid), SIGKILL);
            if (running.elapsed() > 90000)
                session.kill(); // a hung session fails below rather than hanging the suite
        } while (session.state() != QProcess::NotRunning && !session.waitForFinished(100));
        output += QString::fromLocal8Bit(session.readAll());
        QTest::qWait(1000); // the run's scratch folder goes as its guardian sees the end

        EXPECT_TRUE(output.contains("title: done none")) << output.toStdString();
        EXPECT_TRUE(output.contains("dragged 0,")) << output.toStdString();
        EXPECT_FALSE(debugging) << "a debugging port was opened";
        EXPECT_EQ(QDir(home).entryList(all), QStringList());
        EXPECT_EQ(QDir(temp).entryList(all), QStringList());
        if (!killed && unsandboxed.isEmpty()) {
            EXPECT_TRUE(output.contains("engine process seccomp 2")) << output.toStdString();
        }
    }
    if (!unsandboxed.isEmpty())
        GTEST_SKIP() << "sandbox not checked: " << unsandboxed.toStdString();
}
