// The real program on the demo visualisation (tools/demovisu) of the screen's
// size, started the way a visualisation starts it, driven by a real pointer
// and keyboard through xdotool. Built once per screen size: the overlay's
// pixels depend on the screen, the rest is checked at 1280 x 1024 only.
#include "demovisu/DemoOverlay.h"
#include "demovisu/DemoVisualisation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kWidth = TAVLIN_E2E_WIDTH;
constexpr int kLevel = 105; // the fade's last level

// The screen, or `size` of it from `at`.
QImage grabScreen(QPoint at = QPoint(), QSize size = QSize(-1, -1))
{
    const QPixmap grab = QGuiApplication::primaryScreen()->grabWindow(
        0, at.x(), at.y(), size.width(), size.height());
    return grab.toImage().convertToFormat(QImage::Format_RGB32);
}

// Saves an image for the reader of a failed test; returns its path.
std::string keep(const QImage &image, const char *name)
{
    const QString path = QDir::tempPath() + QStringLiteral("/tavlin-e2e-%1.png").arg(name);
    image.save(path);
    return path.toStdString();
}

// Runs xdotool; false when it failed or did not finish within 10 s.
bool xdotool(const QStringList &arguments, QString *output = nullptr)
{
    QProcess tool; // killed, if need be, when it goes
    tool.start("xdotool", arguments);
    const bool finished = tool.waitForFinished(10000);
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    return finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// Moves the pointer to `at`, then, when given, does `action` ("click",
// "mousedown" or "mouseup") with the left button there.
bool pointer(QPoint at, const char *action = nullptr)
{
    QStringList arguments { "mousemove", QString::number(at.x()), QString::number(at.y()) };
    return xdotool(action ? arguments << action << "1" : arguments);
}

// The geometries of the windows that xdotool's `search` (or `getwindowfocus`)
// with `arguments` finds.
QList<QRect> windows(const QStringList &arguments)
{
    QString shell; // lines of KEY=value, SCREEN the last of each window's
    xdotool(arguments + QStringList { "getwindowgeometry", "--shell", "%@" }, &shell);
    QList<QRect> found;
    QHash<QString, int> values;
    for (const QString &line : shell.split('\n')) {
        values[line.section('=', 0, 0)] = line.section('=', 1).toInt();
        const QRect window(values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]);
        if (line.startsWith("SCREEN=") && !window.isEmpty())
            found << window;
    }
    return found;
}

// The program on a demo visualisation, from a copy in a folder of its own
// (bin/) beside the symbol images and, when built, the browser engine plugin.
// The program is killed, if need be, when the run ends.
struct DemoRun
{
    explicit DemoRun(int language = 2)
    {
        const QString built = QStringLiteral(TAVLIN_PROGRAM).section('/', 0, -2) + '/';
        QDir().mkpath(bin);
        for (const char *name :
            { "tavlin", "Tavlin_800.gif", "Tavlin_1280.gif", "libtavlin_webengine.so" })
            QFile::copy(built + name, bin + name);
        if (!buildDemoVisualisation({ dir.path() + "/demo", kWidth, language }, &demo, nullptr))
            return;
        screenshot
            = QImage(demo.tempFolder + "/TavlinScreen.bmp").convertToFormat(QImage::Format_RGB32);
        symbol = QImage(bin + QStringLiteral("Tavlin_%1.gif").arg(kWidth));
        if (!symbol.isNull() && screenshot.size() == QSize(demo.layout.width, demo.layout.height))
            expected = demoExpectedOverlay(screenshot, demo.layout, symbol, kLevel);
    }

    // Starts the program as a visualisation does, with TEMPVISU and Wine's
    // drive link; false without the demo or when not started within 10 s.
    bool start()
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (!expected.isNull())
            process.start("env",
                { "WINEPREFIX=" + demo.winePrefix, "TEMPVISU=" + demo.tempVisu, bin + "tavlin" });
        return process.waitForStarted(10000);
    }
    bool running() const { return process.state() != QProcess::NotRunning; }
    // Whether the program ends within `milliseconds`, by itself, with status 0.
    bool endsWithStatusZero(int milliseconds)
    {
        return (!running() || process.waitForFinished(milliseconds))
            && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // Waits up to 30 s until the screen shows the overlay after the fade,
    // apart from the footer help button.
    void expectOverlay()
    {
        const QRect button = demoHelpButtonBox(demo.layout);
        QImage screen;
        if (!QTest::qWaitFor(
                [&] {
                    screen = grabScreen();
                    QPainter(&screen).drawImage(button.topLeft(), expected.copy(button));
                    return screen == expected;
                },
                30000))
            ADD_FAILURE() << "not the overlay; screen kept as " << keep(screen, "screen")
                          << ", expected as " << keep(expected, "expected");
    }

    // Whether the footer help button shows its raised or its latched look
    // within 5 s, at two corners of its frame: the left end of its top leg and
    // the right end.
    bool showsButtonLook(bool raised) const
    {
        const QRgb white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
        return QTest::qWaitFor(
            [&] {
                const QImage leg = grabScreen(
                    QPoint(0, demo.layout.footerTop), QSize(demo.layout.helpButtonSize + 1, 1));
                return leg.pixel(0, 0) == (raised ? white : grey)
                    && leg.pixel(demo.layout.helpButtonSize, 0) == (raised ? grey : white);
            },
            5000);
    }

    // The program's first visible window titled to match `title` that `which`
    // accepts, waiting up to `milliseconds` for one to show or, `gone`, for
    // none to be left, or for the program to end; null when there is none.
    QRect waitForWindow(const std::function<bool(const QRect &)> &which, int milliseconds,
        bool gone = false, const QString &title = QString())
    {
        const QStringList search { "search", "--all", "--onlyvisible", "--pid",
            QString::number(process.processId()), "--name", title };
        QRect found;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                const QList<QRect> all = windows(search);
                const auto first = std::find_if(all.begin(), all.end(), which);
                found = first == all.end() ? QRect() : *first;
                return found.isNull() == gone || !running();
            },
            milliseconds));
        return found;
    }

    // A message box titled "Tavlin" takes the keyboard focus, is confirmed
    // and goes.
    void confirmMessageBox()
    {
        auto box = [&](const QRect &window) { return window.width() < kWidth; };
        const QRect shown = waitForWindow(box, 30000, false, "^Tavlin$");
        ASSERT_FALSE(shown.isNull()) << "no message box titled Tavlin";
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return windows({ "getwindowfocus" }).value(0) == shown; }, 10000));
        ASSERT_TRUE(xdotool({ "key", "Return" }));
        EXPECT_TRUE(waitForWindow(box, 10000, true).isNull()) << "the box should go";
    }

    QTemporaryDir dir { QDir::tempPath() + "/tavlin-e2e-XXXXXX" };
    QString bin = dir.path() + "/bin/";
    QProcess process;
    DemoVisualisation demo;
    QImage screenshot, symbol, expected; // expected: the overlay after the fade
};

} // namespace

// The fade reaches the screen step by step, then the overlay shows the
// darkened screenshot, every symbol and the latched footer button. On it the
// operator misses a page, opens one in the help window, drags and closes it,
// and ends the program by the footer button.
TEST(Demo, FadeOverlayHelpWindowAndEndByTheFooterButton)
{
    DemoRun run(1); // the operator's language: German
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0)
        << "the expected overlay assumes 15 twips per pixel";
    const DemoLayout &layout = run.demo.layout;

    // The fade, at a pixel whose green is 255 in the screenshot so that its
    // green is the level: from full brightness every step reaches the screen,
    // each darker than the last, down to the last level.
    const QRect button = demoHelpButtonBox(layout);
    QPoint probe;
    for (int y = 0; y < run.expected.height() && probe.isNull(); ++y)
        for (int x = 0; x < run.expected.width() && probe.isNull(); ++x)
            if (qGreen(run.screenshot.pixel(x, y)) == 255
                && qGreen(run.expected.pixel(x, y)) == kLevel && !button.contains(x, y))
                probe = QPoint(x, y);
    ASSERT_FALSE(probe.isNull()) << "no demo, or no pixel to watch the fade at";
    ASSERT_TRUE(run.start());
    std::vector<int> levels; // once per change, read as often as the screen can be
    QElapsedTimer timer;
    for (timer.start(); levels.empty() || levels.back() != kLevel;) {
        const int level = qGreen(grabScreen(probe, QSize(1, 1)).pixel(0, 0));
        if (levels.empty() || levels.back() != level)
            levels.push_back(level);
        ASSERT_LT(timer.elapsed(), 20000) << ::testing::PrintToString(levels);
    }
    auto fade = std::find(levels.rbegin(), levels.rend(), 255).base(); // after the last 255
    // The window may appear after the first read and its first frame (255) fall between two
    // reads: the first level read is then the screen before the overlay.
    if (fade == levels.begin() && levels.size() > 1 && levels[0] < levels[1])
        ++fade;
    EXPECT_TRUE(levels.end() - fade >= 10 && std::is_sorted(fade, levels.end(), std::greater<>()))
        << ::testing::PrintToString(levels); // no level twice in a row: each darker
    run.expectOverlay();
    ASSERT_TRUE(run.running()) << "the overlay stays until the operator ends it";

    // The footer help button, undimmed in its latched look, with the
    // visualisation's image on silver one pixel right of and below where the
    // raised look has it.
    const QImage image(run.demo.visuFolder
        + QStringLiteral("/Standard/KalvoFußzeile/KalvoFußzeileHelp_%1.gif").arg(kWidth));
    QImage onSilver(image.size(), QImage::Format_RGB32);
    onSilver.fill(qRgb(192, 192, 192));
    QPainter(&onSilver).drawImage(0, 0, image);
    const QRect latched(
        QPoint(kWidth == 800 ? 3 : 5, layout.footerTop + (kWidth == 800 ? 3 : 5)), image.size());
    QImage screen;
    ASSERT_TRUE(run.showsButtonLook(false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (screen = grabScreen()).copy(latched) == onSilver; }))
        << "no latched button image; screen kept as " << keep(screen, "button");
    if (kWidth != 1280)
        return;

    // A symbol whose page is missing: the message over the overlay until
    // confirmed, then the overlay as it was.
    const QPoint missing = demoClickableSymbol(layout, demoMissingPageSymbols(), run.symbol.size());
    ASSERT_TRUE(missing.x() >= 0 && pointer(missing, "click"));
    ASSERT_NO_FATAL_FAILURE(run.confirmMessageBox());
    run.expectOverlay(); // as it was

    // The page of the operator's language, German, in green.
    int entry = -1;
    const QPoint symbol = demoClickableSymbol(layout, demoPageSymbols(), run.symbol.size(), &entry);
    ASSERT_GE(entry, 0);
    QFile page(run.demo.visuFolder + "/Program/Help/Tavlin/Deutsch/"
        + demoTopic(layout.controls[size_t(entry)].tag) + ".html");
    ASSERT_TRUE(
        page.open(QIODevice::WriteOnly) && page.write("<body style=\"background:#00a000\">"));
    page.close();

    // First opening: centred at 1 / 1.3 of the screen, the window's own blue
    // inside its corners, the page in its middle.
    auto helpWindow = [](const QRect &window) {
        return qAbs(window.width() - qRound(1280 / 1.3)) <= 1
            && qAbs(window.height() - qRound(1024 / 1.3)) <= 1;
    };
    ASSERT_TRUE(pointer(symbol, "click"));
    const QRect opened = run.waitForWindow(helpWindow, 60000);
    ASSERT_FALSE(opened.isNull()) << "no help window after a click on the symbol";
    EXPECT_LE(qAbs(2 * opened.x() + opened.width() - 1280), 1) << opened.x();
    EXPECT_LE(qAbs(2 * opened.y() + opened.height() - 1024), 1) << opened.y();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            screen = grabScreen();
            return screen.pixel(opened.topLeft() + QPoint(2, 2)) == qRgb(192, 192, 255)
                && screen.pixel(opened.bottomRight() - QPoint(2, 2)) == qRgb(192, 192, 255)
                && screen.pixel(opened.center()) == qRgb(0, 0xa0, 0);
        },
        60000))
        << "no German page; screen kept as " << keep(screen, "help");

    // Dragged by its handle along the bottom, the window follows the pointer.
    const QPoint handle(opened.x() + 105, opened.bottom() - 36), by(70, -50);
    ASSERT_TRUE(pointer(handle, "mousedown"));
    for (int step = 1; step < 5; ++step)
        pointer(handle + by * step / 5);
    ASSERT_TRUE(pointer(handle + by, "mouseup"));
    const QRect moved = opened.translated(by);
    EXPECT_FALSE(run.waitForWindow([&](const QRect &w) { return w == moved; }, 10000).isNull())
        << "the window should follow the drag";

    // Its red cross closes it; the overlay stays.
    ASSERT_TRUE(pointer(moved.bottomRight() - QPoint(36, 36), "click"));
    EXPECT_TRUE(run.waitForWindow(helpWindow, 20000, true).isNull()) << "Ende should close it";

    // The footer button: a press raises it, moving off latches it again, a
    // release off it ends nothing; a press and release on it ends the program
    // with status 0.
    const QPoint on(layout.helpButtonSize / 4, layout.footerTop + layout.helpButtonSize / 4);
    const QPoint off(layout.helpButtonSize + 60, layout.footerTop - 80);
    ASSERT_TRUE(pointer(on, "mousedown"));
    EXPECT_TRUE(run.showsButtonLook(true)) << "no raised look";
    ASSERT_TRUE(pointer(off));
    EXPECT_TRUE(run.showsButtonLook(false)) << "not latched again";
    ASSERT_TRUE(pointer(off, "mouseup"));
    ASSERT_TRUE(pointer(on, "mousedown"));
    EXPECT_TRUE(run.showsButtonLook(true));
    ASSERT_TRUE(pointer(on, "mouseup"));
    EXPECT_TRUE(run.endsWithStatusZero(10000)) << "a release on the help button ends it";
}

#if TAVLIN_E2E_WIDTH == 1280
TEST(Demo, MissingScreenshotOrDescriptionEndsAtOnceAndMissingSymbolImageAfterAMessage)
{
    for (const char *file : { "/TavlinScreen.bmp", "/Tavlin.txt" }) {
        DemoRun run;
        ASSERT_TRUE(QFile::remove(run.demo.tempFolder + file) && run.start());
        EXPECT_TRUE(run.waitForWindow([](const QRect &) { return true; }, 10000).isNull())
            << file << " missing: no window may show";
        EXPECT_TRUE(run.endsWithStatusZero(0)) << file << " missing: it should end";
    }
    DemoRun run;
    ASSERT_TRUE(QFile::remove(run.bin + "Tavlin_1280.gif") && run.start());
    ASSERT_NO_FATAL_FAILURE(run.confirmMessageBox());
    EXPECT_TRUE(run.endsWithStatusZero(15000)) << "a run-time error ends it once confirmed";
}
#endif
