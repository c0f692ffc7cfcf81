#include "interaction/OverlayInteraction.h"
#include "form/MainForm.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "support/FakeBrowser.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QGuiApplication>
#include <QPointingDevice>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The real overlay form on an 800 x 600 screen with the interaction hooked
// in, the footer button drawn by the overlay itself (without its image file,
// which the test does not provide), and a help page for entry 0.
class OverlayInteractionTest : public ::testing::Test
{
protected:
    OverlayInteractionTest()
    {
        context.TwipsPerPixelX = 15;
        context.TwipsPerPixelY = 15;
        context.DispHInt = 800;
        context.DispVInt = 600;
        context.ButtonSize = 41;
        context.FooterTop = 537;
        context.VisuPfad = folder.path() + QStringLiteral("/Visu\\");
        context.LanguageName = QStringLiteral("English");
        context.HelpEntries[0].Tag = QStringLiteral("Conveyor");
        context.LastEntry = 0;
        folder.write(
            QStringLiteral("Visu/Program/Help/Tavlin/English/Conveyor.html"), "<p>Conveyor</p>");
        form.setWidth(12000);
        form.setHeight(9000);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QImage footer() { return form.grab(QRect(0, 530, 60, 60)).toImage(); }
    bool ended() const { return fake.terminator.calls > 0; }

    FakePlatform fake;
    FakeBrowserInstalled browser;
    TempFolder folder;
    MainForm form;
    ScreenContext &context = form.context();
    OverlayInteraction interaction { form };
};

} // namespace

TEST_F(OverlayInteractionTest, FooterButtonIsDrawnRaisedThenLatchedAndEndsOnRelease)
{
    const QImage before = footer();
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(5, 545));
    const QImage raised = footer();
    EXPECT_NE(raised, before);
    QTest::mouseMove(&form, QPoint(300, 300));
    const QImage latched = footer();
    EXPECT_NE(latched, raised);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(5, 545));
    EXPECT_FALSE(ended());

    QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(5, 545));
    EXPECT_TRUE(ended());
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}

TEST_F(OverlayInteractionTest, SymbolClickOpensTheHelpWindowUntilItIsClosed)
{
    bool opened = false;
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        HelpWindow *window = interaction.help().window();
        ASSERT_NE(window, nullptr);
        opened = window->isVisible();
        // The footer button is out of reach while the help window is open.
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(5, 545));
        QTest::mouseClick(window->Ende, Qt::LeftButton);
    });
    QTest::mouseClick(&form.Symbol(0), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(opened);
    EXPECT_FALSE(ended());
    ASSERT_EQ(browser.log.navigations.size(), 1u);
    EXPECT_EQ(browser.log.navigations[0].page,
        QUrl(QStringLiteral("tavlin://help/English/Conveyor.html")));
    EXPECT_FALSE(interaction.help().isLoaded());

    // After a missing page (its message is the symbol click's own test) the
    // footer button works again.
    context.HelpEntries[0].Tag = QStringLiteral("Missing");
    QTest::mouseClick(&form.Symbol(0), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(fake.messageBox.messages.size(), 1);
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(5, 545));
    EXPECT_TRUE(ended());
}

TEST_F(OverlayInteractionTest, InputOverAnElementNeverReachesTheFormsHandlers)
{
    // Bild 0 laid over the footer button, and a Symbol loaded later beside it.
    PictureBox &bild = form.Bild(0);
    bild.setLeft(0);
    bild.setTop(530 * 15);
    PictureBox &symbol = form.Symbol.Load(1);
    symbol.setLeft(0);
    symbol.setTop(580 * 15);
    symbol.show();
    const QPoint overButton = bild.mapFrom(&form, QPoint(5, 545));

    QTest::mouseMove(&form, QPoint(400, 300));
    QTest::mouseMove(&bild, overButton);
    QTest::mouseMove(&symbol, QPoint(3, 3));
    EXPECT_FLOAT_EQ(context.LastMouseX, 6000); // the last move on the form itself
    QTest::mouseClick(&bild, Qt::LeftButton, {}, overButton);
    QTest::mouseClick(&bild, Qt::RightButton, {}, overButton);
    QTest::mouseClick(&symbol, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseDClick(&bild, Qt::LeftButton, {}, overButton);
    EXPECT_FALSE(ended());
    EXPECT_EQ(context.PressedButton, 0);

    // Hidden, the element is out of the way.
    bild.hide();
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(5, 545));
    EXPECT_TRUE(ended());
}

TEST_F(OverlayInteractionTest, TapOnTheFooterButtonEndsTheProgram)
{
    // No tap here may count as the second half of a double click with the
    // made-up times of the clicks of earlier tests.
    QStyleHints *hints = QGuiApplication::styleHints();
    const int doubleClickInterval = hints->mouseDoubleClickInterval();
    hints->setMouseDoubleClickInterval(0);
    QPointingDevice *touchScreen = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    QTest::touchEvent(&form, touchScreen).press(0, QPoint(300, 300));
    QTest::touchEvent(&form, touchScreen).release(0, QPoint(300, 300));
    EXPECT_FALSE(ended());
    QTest::touchEvent(&form, touchScreen).press(0, QPoint(5, 545));
    EXPECT_EQ(context.PressedButton, 1);
    QTest::touchEvent(&form, touchScreen).release(0, QPoint(5, 545));
    EXPECT_TRUE(ended());
    hints->setMouseDoubleClickInterval(doubleClickInterval);
}
