// The engine's environment is read once per process, so these tests run a
// help session in a child process (see WebEngineTestMain.cpp) and watch it.
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QByteArray kCanary = "tavlin-canary-91c4";

// A help folder whose page tries to read the canary beside it and to use
// every kind of storage, and a fresh home folder for the session.
struct Session
{
    TempFolder folder;
    QString home = folder.path() + QStringLiteral("/home");
    QString temp = folder.path() + QStringLiteral("/temp");

    Session()
    {
        folder.write(QStringLiteral("Outside/canary.txt"), kCanary);
        folder.write(QStringLiteral("home/.keep"), "");
        folder.write(QStringLiteral("temp/.keep"), "");
        folder.write(QStringLiteral("Help/English/P.html"),
            "<html><body><canvas id=c></canvas><script>"
            "(async () => {"
            " let read = 'none';"
            " try { const x = new XMLHttpRequest(); x.open('GET', 'file://"
                + QFile::encodeName(folder.path())
                + "/Outside/canary.txt', false); x.send();"
                  "  if (x.responseText.includes('"
                + kCanary
                + "')) read = 'canary'; } catch (e) {}"
                  " try { localStorage.setItem('k', 'v'); } catch (e) {}"
                  " try { document.cookie = 'k=v; max-age=99999'; } catch (e) {}"
                  " try { indexedDB.open('db').onupgradeneeded = e => "
                  "e.target.result.createObjectStore('s'); } catch (e) {}"
                  " try { await (await caches.open('c')).put('x', new Response('y')); } catch (e) "
                  "{}"
                  " try { const g = document.getElementById('c').getContext('webgl');"
                  "  const s = g.createShader(g.FRAGMENT_SHADER);"
                  "  g.shaderSource(s, 'void main(){gl_FragColor=vec4(1);}'); g.compileShader(s); "
                  "} catch (e) {}"
                  " await new Promise(r => setTimeout(r, 1000));"
                  " document.title = 'done ' + read; })();"
                  "</script></body></html>");
    }

    // Runs the session with `environment` added; returns what it printed.
    QString run(const QStringList &environment, const QStringList &wrapper = {},
        const QString &program = QCoreApplication::applicationFilePath())
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("TMPDIR"), temp);
        for (const char *name : { "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME" })
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("TAVLIN_HELP_FOLDER"), folder.path() + QStringLiteral("/Help\\"));
        env.insert(QStringLiteral("TAVLIN_HELP_SESSION"),
            folder.path() + QStringLiteral("/Help\\English\\P.html"));
        for (const QString &entry : environment)
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        QStringList command = wrapper;
        command << program;
        child.start(command.takeFirst(), command);
        EXPECT_TRUE(child.waitForStarted());
        QString output;
        while (child.state() != QProcess::NotRunning) {
            child.waitForReadyRead(100);
            output += QString::fromLocal8Bit(child.readAll());
            if (onOutput)
                onOutput(output);
        }
        output += QString::fromLocal8Bit(child.readAll());
        return output;
    }

    // Every file the session left under `place`.
    static QStringList leftIn(const QString &place)
    {
        QStringList files;
        QDirIterator it(place, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QLatin1String("/.keep")))
                files << path.mid(place.size());
        }
        return files;
    }

    std::function<void(const QString &)> onOutput;
};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool listening(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(500);
}

} // namespace

// Debugging ports and flags that weaken web security, set in the environment
// the visualisation passes on, open nothing; and the session writes nothing
// under the home folder.
TEST(EngineEnvironmentTest, HostileEnvironmentOpensNothingAndSessionWritesNothing)
{
    Session session;
    const quint16 variablePort = freePort(), flagPort = freePort();
    bool debugging = false;
    session.onOutput = [&](const QString &) {
        if (!debugging)
            debugging = listening(variablePort) || listening(flagPort);
    };
    const QString output = session.run({
        QStringLiteral("QTWEBENGINE_REMOTE_DEBUGGING=127.0.0.1:%1").arg(variablePort),
        QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS=--remote-debugging-port=%1 "
                       "--disable-web-security --allow-file-access-from-files "
                       "--user-data-dir=%2/home/data --disable-gpu")
            .arg(flagPort)
            .arg(session.folder.path()),
    });
    EXPECT_TRUE(output.contains(QLatin1String("title: done none"))) << output.toStdString();
    EXPECT_FALSE(debugging) << "a debugging port was opened";
    EXPECT_EQ(Session::leftIn(session.home).join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_FALSE(
        Session::leftIn(session.temp).join(QLatin1Char(' ')).contains(QLatin1String("tavlin")));
}

// The sandbox stays on for an ordinary user even when the environment asks
// for it to be off.
TEST(EngineEnvironmentTest, SandboxStaysOnForAnOrdinaryUser)
{
    Session session;
    QStringList wrapper, environment { QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX=1") };
    QString program = QCoreApplication::applicationFilePath();
    if (geteuid() == 0) {
        // Run the session as "nobody" on an X server of its own.
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (setpriv.isEmpty() || xvfbRun.isEmpty())
            GTEST_SKIP() << "setpriv or xvfb-run is missing: no ordinary user to run the engine as";
        wrapper = { setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
            QStringLiteral("--clear-groups") };
        if (QProcess::execute(wrapper[0],
                wrapper.mid(1)
                    + QStringList { QStringLiteral("unshare"), QStringLiteral("--user"),
                        QStringLiteral("true") })
            != 0)
            GTEST_SKIP() << "this machine lets no ordinary user create a user namespace, which "
                            "the engine's sandbox needs";
        // The build may lie where an ordinary user cannot reach it: the session
        // runs from copies of this program and the engine plugin.
        const QString bin = session.folder.path() + QStringLiteral("/bin");
        QDir().mkpath(bin);
        ASSERT_TRUE(
            QFile::copy(QCoreApplication::applicationFilePath(), bin + QStringLiteral("/session")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TAVLIN_BINARY_DIR "/bin/libtavlin_webengine.so"),
            bin + QStringLiteral("/libtavlin_webengine.so")));
        program = bin + QStringLiteral("/session");
        environment << QStringLiteral("TAVLIN_ENGINE_PLUGIN=") + bin
                + QStringLiteral("/libtavlin_webengine.so");
        QProcess::execute(QStringLiteral("chmod"),
            { QStringLiteral("-R"), QStringLiteral("a+rwX"), session.folder.path() });
        wrapper << xvfbRun << QStringLiteral("-a") << QStringLiteral("-s")
                << QStringLiteral("-screen 0 1280x1024x24");
    }
    const QString output = session.run(environment, wrapper, program);
    ASSERT_TRUE(output.contains(QLatin1String("title: done"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("engine process seccomp 2"))) << output.toStdString();
}
