#include "browser/BrowserEngine.h"
#include "browser/BrowserView.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <iostream>

namespace {

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

// A help session in a fresh process (the engine reads its environment once per
// process) on the page TAVLIN_HELP_SESSION under TAVLIN_HELP_FOLDER: prints the
// title once it starts "done" and the seccomp mode of each engine process (the
// sandboxed renderers, below its zygote, run under a filter), then ends.
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
