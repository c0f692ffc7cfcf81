#include "browser/BrowserEngine.h"
#include "browser/BrowserView.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <iostream>

namespace {

// Whether process `pid` descends from this one (the engine's renderers hang
// below its zygote).
bool isDescendant(const QString &pid)
{
    QString current = pid;
    for (int depth = 0; depth < 6; ++depth) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(current));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 2)
            return false;
        current = QString::fromLatin1(fields[1]);
        if (current.toLongLong() == QCoreApplication::applicationPid())
            return true;
    }
    return false;
}

// One help session in a process of its own, for the tests that need a fresh
// engine (its environment is read once per process): opens the page named by
// TAVLIN_HELP_SESSION (a Windows path under TAVLIN_HELP_FOLDER), lets it run,
// prints what its script left in document.title and the seccomp mode of each
// of the engine's processes (the sandboxed renderers run under a filter), closes the window and
// ends.
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
    QElapsedTimer timer;
    timer.start();
    while (!view->page()->title().startsWith(QLatin1String("done")) && timer.elapsed() < 20000)
        QTest::qWait(50);
    std::cout << "title: " << view->page()->title().toStdString() << std::endl;
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : processes) {
        if (!isDescendant(pid))
            continue;
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Seccomp:"))
                std::cout << "engine process seccomp " << line.mid(8).trimmed().toStdString()
                          << std::endl;
    }
    help.Unload();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    prepareBrowserEngine();
    QApplication app(argc, argv);
    useBrowserEngine(qEnvironmentVariable(
        "TAVLIN_ENGINE_PLUGIN", QStringLiteral(TAVLIN_BINARY_DIR "/bin/libtavlin_webengine.so")));
    if (qEnvironmentVariableIsSet("TAVLIN_HELP_SESSION"))
        return runHelpSession();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
