// The program on the 1280 x 1024 demo visualisation: what a real display and
// a real pointer add to the unit tests.

#include "DemoE2e.h"
#include "E2eHarness.h"
#include "demovisu/DemoOverlay.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// A message box titled "Tavlin" takes the keyboard focus, is confirmed and goes.
void confirmMessageBox(DemoRun &demo)
{
    auto box = [&](const QRect &window) { return window.width() < demo.layout().width; };
    const QRect shown = demo.waitForWindow(box, 30000, false, QStringLiteral("Tavlin"));
    ASSERT_FALSE(shown.isNull()) << "no message box titled Tavlin";
    ASSERT_TRUE(waitUntil([&] { return focusedWindow() == shown; }, 10000));
    ASSERT_TRUE(xdotool({ QStringLiteral("key"), QStringLiteral("Return") }));
    EXPECT_TRUE(demo.waitForWindow(box, 10000, true).isNull()) << "the box should go";
}

} // namespace

TEST(Demo1280, OverlayFadesInThenShowsTheDarkenedScreenSymbolsAndLatchedButton)
{
    checkOverlay(1280);
}

TEST(Demo1280, FooterButtonRaisesLatchesAndEndsWithStatusZero)
{
    DemoRun demo(1280);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOverlay());
    const DemoLayout &layout = demo.layout();
    const QPoint on(layout.helpButtonSize / 4, layout.footerTop + layout.helpButtonSize / 4);
    const QPoint off(layout.helpButtonSize + 60, layout.footerTop - 80);

    // Press: raised. Moving off while pressing: latched again. Releasing off
    // the button ends nothing: the next press still finds the button.
    ASSERT_TRUE(pointer(on, "mousedown"));
    EXPECT_TRUE(waitUntil([&] { return demo.showsButtonLook(true); }, 5000)) << "no raised look";
    ASSERT_TRUE(pointer(off));
    EXPECT_TRUE(waitUntil([&] { return demo.showsButtonLook(false); }, 5000))
        << "moving off should give the latched look back";
    ASSERT_TRUE(pointer(off, "mouseup"));

    // Press and release on the button: the program ends, with status 0.
    ASSERT_TRUE(pointer(on, "mousedown"));
    EXPECT_TRUE(waitUntil([&] { return demo.showsButtonLook(true); }, 5000));
    ASSERT_TRUE(pointer(on, "mouseup"));
    EXPECT_TRUE(demo.endsWithStatusZero(10000)) << "a release on the help button ends it";
}

TEST(Demo1280, SymbolOpensTheGermanPageCentredDraggableAndClosable)
{
    DemoRun demo(1280, 1);
    int entry = -1;
    const QPoint symbol
        = demoClickableSymbol(demo.layout(), demoPageSymbols(), demo.symbol().size(), &entry);
    ASSERT_GE(entry, 0);

    // The page of each language shows a colour of its own: green the German.
    const QString topic = demoTopic(demo.layout().controls[size_t(entry)].tag);
    for (const auto &[folder, colour] :
        { std::pair("Deutsch", "#00a000"), { "English", "#0000c8" } }) {
        QFile page(demo.demo().visuFolder
            + QStringLiteral("/Program/Help/Tavlin/%1/%2.html").arg(QLatin1String(folder), topic));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(QByteArray("<html><body style=\"background:") + colour + "\"></body></html>");
    }

    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOverlay());
    const QSize size(qRound(1280 / 1.3), qRound(1024 / 1.3));
    auto helpWindow = [&](const QRect &window) {
        return qAbs(window.width() - size.width()) <= 1
            && qAbs(window.height() - size.height()) <= 1;
    };
    // The window's own blue inside its corner, the page in its middle.
    auto showsPage = [&](const QRect &window, int milliseconds) {
        return waitUntil(
            [&] {
                const QImage screen = grabScreen();
                return screen.pixel(window.topLeft() + QPoint(2, 2)) == qRgb(192, 192, 255)
                    && screen.pixel(window.bottomRight() - QPoint(2, 2)) == qRgb(192, 192, 255)
                    && screen.pixel(window.center()) == qRgb(0, 0xa0, 0);
            },
            milliseconds);
    };

    // First opening: centred at 1 / 1.3 of the screen, the operator's language.
    ASSERT_TRUE(pointer(symbol, "click"));
    const QRect opened = demo.waitForWindow(helpWindow, 60000);
    ASSERT_FALSE(opened.isNull()) << "no help window after a click on the symbol";
    EXPECT_LE(qAbs(2 * opened.x() + opened.width() - 1280), 1) << opened.x();
    EXPECT_LE(qAbs(2 * opened.y() + opened.height() - 1024), 1) << opened.y();
    EXPECT_TRUE(showsPage(opened, 60000))
        << "the German page should show; screen kept as "
        << keepForInspection(grabScreen(), QStringLiteral("tavlin-e2e-help.png")).toStdString();

    // Dragged by its handle along the bottom, the window follows the pointer.
    const QPoint handle(opened.x() + 105, opened.bottom() - 36), by(70, -50);
    ASSERT_TRUE(pointer(handle, "mousedown"));
    for (int step = 1; step < 5; ++step)
        pointer(handle + by * step / 5);
    ASSERT_TRUE(pointer(handle + by, "mouseup"));
    const QRect moved = opened.translated(by);
    EXPECT_FALSE(demo.waitForWindow([&](const QRect &w) { return w == moved; }, 10000).isNull())
        << "the window should follow the drag";

    // Its red cross closes it; the overlay stays.
    ASSERT_TRUE(pointer(QPoint(moved.right() - 36, moved.bottom() - 36), "click"));
    EXPECT_TRUE(demo.waitForWindow(helpWindow, 20000, true).isNull()) << "Ende should close it";
    EXPECT_TRUE(demo.running());

    // Opened again: centred again, not where it was dragged to.
    ASSERT_TRUE(pointer(symbol + QPoint(1, 0)));
    ASSERT_TRUE(pointer(symbol, "click"));
    const QRect again = demo.waitForWindow(helpWindow, 30000);
    EXPECT_EQ(again, opened);
    EXPECT_TRUE(showsPage(again, 30000));
}

TEST(Demo1280, MissingPageShowsAMessageOverTheOverlayUntilConfirmed)
{
    DemoRun demo(1280);
    const QPoint symbol
        = demoClickableSymbol(demo.layout(), demoMissingPageSymbols(), demo.symbol().size());
    ASSERT_GE(symbol.x(), 0);
    ASSERT_TRUE(demo.start());
    ASSERT_TRUE(demo.waitForOverlay());
    ASSERT_TRUE(pointer(symbol, "click"));
    ASSERT_NO_FATAL_FAILURE(confirmMessageBox(demo));
    EXPECT_TRUE(demo.waitForOverlay()) << "as it was";
    EXPECT_TRUE(demo.running());
}

TEST(Demo1280, MissingScreenshotOrDescriptionEndsAtOnceAndMissingSymbolImageAfterAMessage)
{
    for (const char *file : { "TavlinScreen.bmp", "Tavlin.txt" }) {
        DemoRun demo(1280);
        ASSERT_TRUE(QFile::remove(demo.demo().tempFolder + QLatin1Char('/') + QLatin1String(file)));
        ASSERT_TRUE(demo.start());
        EXPECT_TRUE(demo.waitForWindow([](const QRect &) { return true; }, 10000).isNull())
            << file << " missing: no window may show";
        EXPECT_TRUE(demo.endsWithStatusZero(0)) << file << " missing: it should end";
    }

    DemoRun demo(1280);
    ASSERT_TRUE(QFile::remove(demo.programFolder() + QStringLiteral("/Tavlin_1280.gif")));
    ASSERT_TRUE(demo.start());
    ASSERT_NO_FATAL_FAILURE(confirmMessageBox(demo));
    EXPECT_TRUE(demo.endsWithStatusZero(15000)) << "a run-time error ends it once confirmed";
}
