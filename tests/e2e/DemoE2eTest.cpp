// The demo as an operator meets it, built once per screen (1280 x 1024 and
// 800 x 600 at 96 dots per inch, 1280 x 1024 at 120): the overlay's pixels
// depend on the screen, the rest is checked at 1280 x 1024 and 96 only.
#include "demovisu/DemoOverlay.h"
#include "e2e/DemoRun.h"
#include "support/QtPrinters.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The demo as an operator walks through it, one step a test, in this order on
// one start (one CTest test): the fade, the overlay, then a missing page, the
// help window opened, dragged and closed, and the end by the footer button.
class DemoWalk : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { run = std::make_unique<DemoRun>(1); } // German
    static void TearDownTestSuite() { run.reset(); }
    static inline std::unique_ptr<DemoRun> run;
    static inline QRect helpWindow; // where the help window is now
};

// At a pixel whose green is 255 in the screenshot, so that its green is the
// level: from full brightness every step reaches the screen, each darker than
// the last, down to the last level.
TEST_F(DemoWalk, FadeStepsDarkerToTheLastLevel)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), kDpi)
        << "the demo is described in the screen's twips per pixel";
    const QRect button = demoHelpButtonBox(run->demo.layout);
    QPoint probe;
    for (int y = 0; y < run->expected.height() && probe.isNull(); ++y)
        for (int x = 0; x < run->expected.width() && probe.isNull(); ++x)
            if (qGreen(run->screenshot.pixel(x, y)) == 255
                && qGreen(run->expected.pixel(x, y)) == kLevel && !button.contains(x, y))
                probe = QPoint(x, y);
    ASSERT_FALSE(probe.isNull()) << "no demo, or no pixel to watch the fade at";
    ASSERT_TRUE(run->start());
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
}

TEST_F(DemoWalk, OverlayShowsTheDimmedScreenshotAndStays)
{
    run->expectOverlay();
    ASSERT_TRUE(run->running()) << "the overlay stays until the operator ends it";
}

// The browser engine gets ready behind the overlay: the screen and the focus stay.
TEST_F(DemoWalk, EngineGetsReadyOutOfSight)
{
    const QList<QRect> focus = windows({ "getwindowfocus" });
    QElapsedTimer timer;
    for (timer.start(); timer.elapsed() < 4000;)
        ASSERT_TRUE(run->showsOverlay(0)) << timer.elapsed() << " ms after the fade";
    EXPECT_EQ(windows({ "getwindowfocus" }), focus);
}

// Undimmed in its latched look, with the visualisation's image on silver one
// pixel right of and below where the raised look has it.
TEST_F(DemoWalk, FooterButtonIsLatchedWithItsImage)
{
    const QImage image(run->demo.visuFolder
        + QStringLiteral("/Standard/KalvoFußzeile/KalvoFußzeileHelp_%1.gif").arg(kWidth));
    QImage onSilver(image.size(), QImage::Format_RGB32);
    onSilver.fill(qRgb(192, 192, 192));
    QPainter(&onSilver).drawImage(0, 0, image);
    const QRect latched(
        QPoint(kWidth == 800 ? 3 : 5, run->demo.layout.footerTop + (kWidth == 800 ? 3 : 5)),
        image.size());
    QImage screen;
    ASSERT_TRUE(run->showsButtonLook(false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (screen = grabScreen()).copy(latched) == onSilver; }))
        << "no latched button image; screen kept as " << keep(screen, "button");
    EXPECT_EQ(run->unexpectedMessages(), QString());
}

#if TAVLIN_E2E_WIDTH == 1280 && TAVLIN_E2E_DPI == 96
// The message over the overlay until confirmed, then the overlay as it was.
TEST_F(DemoWalk, MissingPageGivesAMessageOverTheOverlay)
{
    const QPoint missing
        = demoClickableSymbol(run->demo.layout, demoMissingPageSymbols(), run->symbol.size());
    ASSERT_TRUE(missing.x() >= 0 && pointer(missing, "click"));
    ASSERT_NO_FATAL_FAILURE(run->confirmMessageBox());
    run->expectOverlay();
}

// The page of the operator's language, German: centred at 1 / 1.3 of the
// screen, the window's own blue inside its corners, the page in its middle.
TEST_F(DemoWalk, HelpPageOpensCentredInTheOperatorsLanguage)
{
    const QRect opened = helpWindow = run->openGreenPage(QStringLiteral("Deutsch"));
    ASSERT_FALSE(opened.isNull());
    EXPECT_LE(qAbs(2 * opened.x() + opened.width() - 1280), 1) << opened.x();
    EXPECT_LE(qAbs(2 * opened.y() + opened.height() - 1024), 1) << opened.y();
    const QImage screen = grabScreen();
    EXPECT_EQ(screen.pixel(opened.topLeft() + QPoint(2, 2)), qRgb(192, 192, 255));
    EXPECT_EQ(screen.pixel(opened.bottomRight() - QPoint(2, 2)), qRgb(192, 192, 255));
}

TEST_F(DemoWalk, HelpWindowFollowsADragOfItsHandle)
{
    const QPoint handle(helpWindow.x() + 105, helpWindow.bottom() - 36), by(70, -50);
    ASSERT_TRUE(pointer(handle, "mousedown"));
    for (int step = 1; step < 5; ++step)
        pointer(handle + by * step / 5);
    ASSERT_TRUE(pointer(handle + by, "mouseup"));
    const QRect moved = helpWindow.translated(by);
    EXPECT_FALSE(run->waitForWindow([&](const QRect &w) { return w == moved; }, 10000).isNull())
        << "the window should follow the drag";
    helpWindow = moved;
}

TEST_F(DemoWalk, RedCrossClosesTheHelpWindowAndTheOverlayStays)
{
    ASSERT_NO_FATAL_FAILURE(run->closeHelpWindow(helpWindow));
    run->expectOverlay();
}

// A press and release on the footer button ends the program with status 0
// (its states in between: FooterButtonHandlersTest).
TEST_F(DemoWalk, FooterButtonEndsTheProgram)
{
    ASSERT_NO_FATAL_FAILURE(run->endByFooterButton());
    EXPECT_EQ(run->unexpectedMessages(), QString());
}
#endif

#if TAVLIN_E2E_WIDTH == 1280 && TAVLIN_E2E_DPI == 96
TEST(Demo, MissingScreenshotOrDescriptionEndsAtOnceShowingNothing)
{
    for (const char *file : { "/TavlinScreen.bmp", "/Tavlin.txt" }) {
        DemoRun run;
        ASSERT_TRUE(QFile::remove(run.demo.tempFolder + file) && run.start());
        EXPECT_TRUE(run.waitForWindow([](const QRect &) { return true; }, 10000).isNull())
            << file << " missing: no window may show";
        EXPECT_TRUE(run.endsWithStatusZero(0)) << file << " missing: it should end";
    }
}

TEST(Demo, MissingSymbolImageEndsOnceItsMessageIsConfirmed)
{
    DemoRun run;
    ASSERT_TRUE(QFile::remove(run.bin + "Tavlin_1280.gif") && run.start());
    ASSERT_NO_FATAL_FAILURE(run.confirmMessageBox());
    EXPECT_TRUE(run.endsWithStatusZero(15000)) << "a run-time error ends it once confirmed";
}
#endif
