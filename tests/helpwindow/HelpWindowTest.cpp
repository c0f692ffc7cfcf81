#include "helpwindow/HelpWindow.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/PictureButton.h"
#include "helpwindow/TwipsGeometry.h"
#include "os/DisplayServer.h"
#include "support/ErrorOf.h"
#include "support/FakeBrowser.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointingDevice>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

namespace {

void expectTwips(const QWidget *widget, float left, float top, float width, float height)
{
    FakeScreen screen;
    const TwipsGeometry twips(screen);
    EXPECT_EQ((std::array { twips.left(widget), twips.top(widget), twips.width(widget),
                  twips.height(widget) }),
        (std::array { left, top, width, height }))
        << widget->objectName().toStdString();
}

class HelpWindowTest : public ::testing::Test
{
protected:
    // Lays out a window of 9225 x 6915 twips at (1500, 1200) twips.
    void init()
    {
        help.setWidth(9225);
        help.setHeight(6915);
        help.setLeft(1500);
        help.setTop(1200);
        help.Init();
    }

    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    FakeServices fake;
    FakeBrowser browser;
    Help help { fake.services(), browser.factory() };
};

} // namespace

// The fresh window against its reference picture (made once, checked by eye).
TEST_F(HelpWindowTest, TouchingTheSizeLoadsTheWindowWithoutAPageInitLaysItOutOrRefuses)
{
    EXPECT_FALSE(help.isLoaded());
    EXPECT_FLOAT_EQ(help.Width(), 4680);
    ASSERT_TRUE(help.isLoaded());
    EXPECT_EQ(browser.log.created, 1);
    EXPECT_TRUE(browser.log.navigations.empty());
    const QImage shot = help.window()->grab().toImage();
    const QImage expected(QStringLiteral(TAVLIN_SOURCE_DIR "/tests/data/HelpWindow.png"));
    EXPECT_TRUE(shot == expected.convertToFormat(shot.format()));

    // Init lays it out from the window's size and starts loading.
    init();
    EXPECT_EQ(QPoint(help.MarginX(), help.MarginY()), QPoint(75, 75));
    HelpWindow *window = help.window();
    expectTwips(window->Ende, 8205, 5895, 945, 945);
    expectTwips(window->Verschieben, 75, 5880, 8055, 960);
    expectTwips(window->WebBrowser->widget(), 75, 75, 9075, 5730);
    EXPECT_EQ(browser.log.navigations.size(), 1u); // what it loads: SymbolClickTest

    // Too narrow (945 + 3 x 75 would be needed): a run-time error, no page.
    Help narrow(fake.services(), browser.factory());
    narrow.setWidth(1155);
    narrow.setHeight(6915);
    EXPECT_EQ(errorOf([&] { narrow.Init(); }), QStringLiteral("380"));
    EXPECT_EQ(browser.log.navigations.size(), 1u);

    // Margins round halves to even: 62.5 -> 62, 67.5 -> 68; the browser starts
    // a whole pixel from the edge: 62 twips are 4.96 pixels, so 5.
    Help other(fake.services(), browser.factory());
    fake.screen.x = 12.5f;
    fake.screen.y = 13.5f;
    other.setWidth(7500);
    other.setHeight(6750);
    other.Init();
    EXPECT_EQ(QPoint(other.MarginX(), other.MarginY()), QPoint(62, 68));
    EXPECT_EQ(other.window()->WebBrowser->widget()->geometry().topLeft(), QPoint(5, 5));

    // A huge twips-per-pixel factor overflows a 16-bit product.
    Help huge(fake.services(), browser.factory());
    fake.screen.x = 4000.0f;
    huge.setWidth(4000.0f * 2000);
    huge.setHeight(6915);
    EXPECT_EQ(errorOf([&] { huge.Init(); }), QStringLiteral("6"));
    // So does a place beyond the pixels a widget can take, either way.
    EXPECT_EQ(errorOf([&] { huge.setLeft(1e12f); }), QStringLiteral("6"));
    EXPECT_EQ(errorOf([&] { huge.setTop(-1e12f); }), QStringLiteral("6"));
}

TEST_F(HelpWindowTest, HandleDragsByAnyButtonOrTouchWithoutBoundsAndTapCloses)
{
    init();
    HelpWindow *window = help.window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    PictureButton *handle = window->Verschieben;

    // Movement without a press on the handle moves nothing.
    QTest::mouseMove(handle, QPoint(40, 20));
    QTest::mouseMove(handle, QPoint(90, 30));
    EXPECT_EQ(window->pos(), QPoint(100, 80));

    // Left button: the grabbed point follows the pointer; pressed, the picture sits one pixel
    // lower and to the right.
    const QImage up = handle->grab().toImage();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(40, 20));
    const QRect inner = up.rect().adjusted(1, 1, -3, -3);
    const QImage down = handle->grab().toImage(); // and the bevel's light and dark swap
    EXPECT_EQ(down.copy(inner.translated(1, 1)), up.copy(inner));
    EXPECT_EQ(QList<QRgb>({ down.pixel(0, 0), down.pixel(down.width() - 1, down.height() - 1) }),
        QList<QRgb>({ qRgb(64, 64, 64), qRgb(255, 255, 255) }));
    EXPECT_TRUE(help.Dragging());
    QTest::mouseMove(handle, QPoint(70, 30));
    EXPECT_EQ(window->pos(), QPoint(130, 90));
    EXPECT_FLOAT_EQ(help.Left(), 1950);
    EXPECT_FLOAT_EQ(help.Top(), 1350);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(40, 20));
    EXPECT_FALSE(help.Dragging());

    // Right button drags too, and the window may leave the screen.
    QTest::mousePress(handle, Qt::RightButton, {}, QPoint(40, 20));
    QTest::mouseMove(handle, QPoint(-260, -200));
    EXPECT_EQ(window->pos(), QPoint(-170, -130));
    EXPECT_FLOAT_EQ(help.Left(), -2550);
    QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(40, 20));

    // A finger moved 30 pixels right and 10 down; the window follows, so in
    // its coordinates the finger is lifted at the grabbed point again.
    QPointingDevice *touchScreen = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    const QPoint grab = handle->mapTo(window, QPoint(40, 20));
    QTest::touchEvent(window, touchScreen).press(0, grab);
    QTest::touchEvent(window, touchScreen).move(0, grab + QPoint(30, 10));
    QTest::touchEvent(window, touchScreen).release(0, grab);
    EXPECT_EQ(window->pos(), QPoint(-140, -120));
    EXPECT_FALSE(help.Dragging());

    // A tap on Ende closes.
    const QPoint close = window->Ende->mapTo(window, QPoint(30, 30));
    QTest::touchEvent(window, touchScreen).press(0, close);
    QTest::touchEvent(window, touchScreen).release(0, close);
    EXPECT_FALSE(help.isLoaded());
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}

TEST_F(HelpWindowTest, TerminateStopsALoadStillUnderWay)
{
    for (const bool busy : { true, false }) {
        auto form = std::make_unique<Help>(fake.services(), browser.factory());
        form->setWidth(9225);
        browser.log.busy = busy;
        form.reset();
        EXPECT_EQ(browser.log.stops, 1) << busy;
        EXPECT_EQ(fake.events.calls, 1) << busy;
    }
    EXPECT_EQ(browser.log.destroyed, 2);
}

// A window that never reaches the screen (a display that will not map it)
// is given up after a few seconds, with a word to the operator, instead of
// holding every other window for good.
TEST_F(HelpWindowTest, WindowThatNeverReachesTheScreenIsGivenUp)
{
    init();
    help.window()->setAttribute(Qt::WA_DontShowOnScreen); // shown, never mapped
    QElapsedTimer waited;
    waited.start();
    help.Show();
    EXPECT_TRUE(help.isLoaded()); // Show does not wait for it
    EXPECT_TRUE(QTest::qWaitFor([&] { return !help.isLoaded(); }, 2 * kShownDeadlineMs));
    EXPECT_GE(waited.elapsed(), kShownDeadlineMs);
    EXPECT_EQ(fake.messageBox.messages, QStringList { "The help page could not be shown." });
}
