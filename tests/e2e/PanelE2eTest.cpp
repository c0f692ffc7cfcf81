// The program as it runs on real panels: one slow core with a busy
// visualisation beside it, a window manager with a task bar, and an engine
// that fails in every way it can. Whatever happens, the operator is never
// left without a working red cross or footer button.
#include "demovisu/DemoOverlay.h"
#include "e2e/DemoRun.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

#if TAVLIN_E2E_WIDTH == 1280 && TAVLIN_E2E_DPI == 96

namespace {

// A started helper program, killed when it goes.
struct Helper
{
    explicit Helper(const QStringList &command, const QStringList &environment = {})
    {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString &pair : environment)
            variables.insert(pair.section('=', 0, 0), pair.section('=', 1));
        process.setProcessEnvironment(variables);
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(command.value(0), command.mid(1));
        process.waitForStarted(10000);
    }
    ~Helper()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QProcess process;
};

// The operator's round: the overlay, a missing page's message confirmed
// (`missingPage`), a page opened and closed, the end by the footer button,
// and nothing untoward said on the way.
void operatorsRound(DemoRun &run, bool missingPage = false)
{
    run.expectOverlay();
    if (missingPage) {
        const QPoint missing
            = demoClickableSymbol(run.demo.layout, demoMissingPageSymbols(), run.symbol.size());
        ASSERT_TRUE(pointer(missing, "click"));
        ASSERT_NO_FATAL_FAILURE(run.confirmMessageBox());
    }
    const QRect window = run.openGreenPage();
    ASSERT_FALSE(window.isNull());
    ASSERT_NO_FATAL_FAILURE(run.closeHelpWindow(window));
    run.expectOverlay(); // as it was, above any bar
    ASSERT_NO_FATAL_FAILURE(run.endByFooterButton());
    EXPECT_EQ(run.unexpectedMessages(), QString());
}

// The processes two generations below the program: the engine's helpers
// (zygotes) are its children, the page renderers theirs.
QList<qint64> renderers(qint64 program)
{
    const QHash<qint64, qint64> parents = processParents();
    QList<qint64> found;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it)
        if (parents.value(it.value()) == program)
            found << it.key();
    return found;
}

// Whether the help window at `window` says something in its middle: dark
// text on its own light blue, where the page was.
bool saysSomething(const QRect &window)
{
    const QImage middle = grabScreen(window.center() - QPoint(300, 30), QSize(600, 60));
    int text = 0, blue = 0;
    for (int y = 0; y < middle.height(); ++y)
        for (int x = 0; x < middle.width(); ++x) {
            const QRgb pixel = middle.pixel(x, y);
            text += qMax(qMax(qRed(pixel), qGreen(pixel)), qBlue(pixel)) < 80;
            blue += pixel == qRgb(192, 192, 255);
        }
    return text > 50 && blue > middle.width() * middle.height() / 2;
}

} // namespace

// Ten starts, each pinned to the first core, alone there or beside a busy
// loop on the same core, as on a single-core panel whose visualisation
// keeps it busy.
class OneCore : public ::testing::TestWithParam<bool>
{
};

TEST_P(OneCore, TenStartsEachOpenAPageAndEndByTheFooterButton)
{
    std::unique_ptr<Helper> busy;
    if (GetParam())
        busy = std::make_unique<Helper>(
            QStringList { "taskset", "-c", "0", "sh", "-c", "while :; do :; done" });
    for (int start = 1; start <= 10; ++start) {
        SCOPED_TRACE(start);
        DemoRun run;
        ASSERT_TRUE(run.start({}, { "taskset", "-c", "0" }));
        ASSERT_NO_FATAL_FAILURE(operatorsRound(run));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Panel, OneCore, ::testing::Values(false, true), [](const ::testing::TestParamInfo<bool> &row) {
        return row.param ? "BesideABusyLoop" : "Alone";
    });

// Under a window manager (with its task bar or panel), the overlay covers the
// whole screen above the bars, message boxes and the help window come up
// above it with the keyboard focus, and the footer button ends the program.
struct Desktop
{
    const char *name;
    QStringList manager, bar;
};

void PrintTo(const Desktop &desktop, std::ostream *out)
{
    *out << desktop.name;
}

class WindowManager : public ::testing::TestWithParam<Desktop>
{
};

TEST_P(WindowManager, OverlayAboveItsBarsDialogsFocusedFooterEnds)
{
    DemoRun run;
    const QStringList home { "HOME=" + run.dir.path() };
    // The bottom row before anything runs: a bar drawn before this grab would
    // never be seen to appear.
    const QImage bottom = grabScreen(QPoint(0, 1023), QSize(1280, 1));
    Helper manager(GetParam().manager, home);
    // Managing once it names itself on the root window.
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            QProcess xprop;
            xprop.start("xprop", { "-root", "_NET_SUPPORTING_WM_CHECK" });
            return xprop.waitForFinished(5000) && xprop.readAll().contains("window id");
        },
        20000))
        << "the window manager did not start";
    std::unique_ptr<Helper> bar;
    if (!GetParam().bar.isEmpty())
        bar = std::make_unique<Helper>(GetParam().bar, home);
    // The bar (its own or the manager's) on the screen's bottom row.
    if (!GetParam().bar.isEmpty() || GetParam().manager.value(0) == "icewm") {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return grabScreen(QPoint(0, 1023), QSize(1280, 1)) != bottom; }, 20000));
    }
    QTest::qWait(500);

    ASSERT_TRUE(run.start());
    operatorsRound(run, true);
}

INSTANTIATE_TEST_SUITE_P(Panel, WindowManager,
    ::testing::Values(Desktop { "Openbox", { "openbox" }, {} },
        Desktop { "IceWMWithItsTaskBar", { "icewm" }, {} },
        Desktop { "OpenboxWithTint2", { "openbox" }, { "tint2" } },
        // Its settings come through a session bus of its own.
        Desktop { "Xfwm4", { "dbus-run-session", "--", "xfwm4" }, {} },
        Desktop { "Matchbox", { "matchbox-window-manager" }, {} }),
    [](const ::testing::TestParamInfo<Desktop> &row) { return std::string(row.param.name); });

// The engine cannot start (no OpenGL on the display, its helper program
// missing): the page comes as plain text in a window that closes, and the
// footer button still ends the program.
TEST(LockOut, EngineThatCannotStartGivesThePageAsText)
{
    for (const bool noOpenGL : { true, false }) {
        SCOPED_TRACE(noOpenGL ? "no OpenGL" : "no helper program");
        DemoRun run;
        ASSERT_TRUE(
            run.start({ noOpenGL ? QStringLiteral("QT_XCB_GL_INTEGRATION=none")
                                 : "QTWEBENGINEPROCESS_PATH=" + run.dir.path() + "/none" }));
        run.expectOverlay();
        const QRect window = run.openGreenPage();
        ASSERT_FALSE(window.isNull());
        ASSERT_NO_FATAL_FAILURE(run.closeHelpWindow(window));
        ASSERT_NO_FATAL_FAILURE(run.endByFooterButton());
        EXPECT_TRUE(run.messages().contains("shown as plain text")) << run.messages().toStdString();
    }
}

// The page's renderer is gone (its helper program dies at once, or the
// renderer is killed after the page showed): the window says so, closes by
// its red cross, and the footer button ends the program.
TEST(LockOut, PageWhoseRendererStopsSaysSoAndCloses)
{
    for (const bool killed : { false, true }) {
        SCOPED_TRACE(killed ? "renderer killed" : "helper program dies within a second");
        DemoRun run;
        const QString dies = run.dir.path() + "/dies";
        QFile script(dies);
        // (One that is gone before the engine's first word to it ends the whole program inside
        // the engine, which nothing outside it can catch: docs/decisions.md.)
        ASSERT_TRUE(
            script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\nsleep 1\nexit 3\n"));
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        script.close();
        ASSERT_TRUE(
            run.start(killed ? QStringList() : QStringList { "QTWEBENGINEPROCESS_PATH=" + dies }));
        run.expectOverlay();
        QRect window;
        if (killed) {
            window = run.openGreenPage();
            ASSERT_FALSE(window.isNull());
            for (const qint64 renderer : renderers(run.process.processId()))
                ::kill(pid_t(renderer), SIGKILL);
        } else {
            const QPoint at
                = demoClickableSymbol(run.demo.layout, demoPageSymbols(), run.symbol.size());
            ASSERT_TRUE(pointer(at, "click"));
            window = run.waitForWindow(isHelpWindow, 60000);
            ASSERT_FALSE(window.isNull());
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return saysSomething(window); }, 20000))
            << "no notice; screen kept as " << keep(grabScreen(), "stopped");
        ASSERT_NO_FATAL_FAILURE(run.closeHelpWindow(window));
        ASSERT_NO_FATAL_FAILURE(run.endByFooterButton());
        EXPECT_TRUE(run.messages().contains("renderer stopped")) << run.messages().toStdString();
    }
}

// A window manager that hangs (here: one that takes every window it manages
// and never shows one) cannot hold the program's windows: the overlay, a
// message box and the help window show all the same, and the footer button
// ends the program.
TEST(LockOut, HungWindowManagerHoldsNoWindowOfTheProgram)
{
    DemoRun run;
    Helper hung({ QStringLiteral(TAVLIN_HUNG_WINDOW_MANAGER) });
    ASSERT_TRUE(QTest::qWaitFor([&] { return hung.process.canReadLine(); }, 10000));
    ASSERT_TRUE(run.start());
    operatorsRound(run, true);
}

// Nothing the caller adds makes the overlay something else: Qt's options and
// the engine's switches given as arguments are ignored, and a platform that
// would serve the screen to the network is refused before anything shows.
TEST(NoCommandLine, ArgumentsAreIgnoredAndARemoteScreenRefused)
{
    quint16 ports[2];
    for (quint16 &port : ports) {
        QTcpServer free;
        ASSERT_TRUE(free.listen(QHostAddress::Any));
        port = free.serverPort();
    }
    const auto listening = [&] {
        for (const quint16 port : ports) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(300))
                return true;
        }
        return false;
    };
    const QString vnc = QStringLiteral("vnc:port=%1").arg(ports[0]);
    {
        DemoRun run;
        ASSERT_TRUE(run.start({}, {},
            { "-platform", vnc, QStringLiteral("--remote-debugging-port=%1").arg(ports[1]),
                "-stylesheet", run.dir.path() + "/none.qss" }));
        run.expectOverlay();
        const QRect window = run.openGreenPage();
        ASSERT_FALSE(window.isNull());
        EXPECT_FALSE(listening());
        ASSERT_NO_FATAL_FAILURE(run.closeHelpWindow(window));
        ASSERT_NO_FATAL_FAILURE(run.endByFooterButton());
        EXPECT_EQ(run.unexpectedMessages(), QString());
    }
    DemoRun run;
    ASSERT_TRUE(run.start({ "QT_QPA_PLATFORM=" + vnc }));
    ASSERT_TRUE(run.process.waitForFinished(10000));
    EXPECT_EQ(run.process.exitCode(), 1);
    EXPECT_TRUE(run.messages().contains("\"vnc\" (QT_QPA_PLATFORM) is not supported"))
        << run.messages().toStdString();
    EXPECT_FALSE(listening());
}

#endif
