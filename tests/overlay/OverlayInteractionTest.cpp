#include "overlay/OverlayInteraction.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "overlay/MainForm.h"
#include "support/FakeBrowser.h"
#include "support/FakeServices.h"
#include "support/TempFolder.h"

#include <QGuiApplication>
#include <QPointingDevice>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

// The real overlay form on an 800 x 600 screen with the interaction hooked in
// and a help page for entry 0. The footer state machine and the help window's
// opening have their own tests; here the pieces are seen working together.
class OverlayInteractionTest : public ::testing::Test
{
protected:
    OverlayInteractionTest()
    {
        context.TwipsPerPixelX = context.TwipsPerPixelY = 15;
        context.DispHInt = 800;
        context.DispVInt = 600;
        context.ButtonSize = 41;
        context.FooterTop = 537;
        context.VisuPfad = folder.path() + QStringLiteral("/Visu\\");
        context.LanguageName = QStringLiteral("English");
        context.HelpEntries[0].Tag = QStringLiteral("Conveyor");
        folder.write(
            QStringLiteral("Visu/Program/Help/Tavlin/English/Conveyor.html"), "<p>Conveyor</p>");
        form.setWidth(12000);
        form.setHeight(9000);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    bool ended() const { return fake.terminator.calls > 0; }

    FakeServices fake;
    FakeBrowser browser;
    TempFolder folder;
    MainForm form { fake.services() };
    ScreenContext &context = form.context();
    OverlayInteraction interaction { form, browser.factory() };
    const QPoint onButton { 5, 545 };
};

TEST_F(OverlayInteractionTest, SymbolOpensTheModalHelpWindowAndElementsKeepTheirInput)
{
    QTest::mouseClick(&form.Symbol(0), Qt::LeftButton, {}, QPoint(5, 5));
    HelpWindow *window = interaction.help().window();
    ASSERT_NE(window, nullptr);
    // The footer button is out of reach while the help window is open.
    QTest::mouseClick(form.window()->windowHandle(), Qt::LeftButton, {}, onButton);
    QTest::mouseClick(window->Ende, Qt::LeftButton);
    ASSERT_EQ(browser.log.navigations.size(), 1u);
    EXPECT_FALSE(interaction.help().isLoaded());
    EXPECT_FALSE(ended());

    // Bild 0 laid over the footer button: input over it never reaches the
    // form's handlers; hidden, it is out of the way.
    PictureBox &bild = form.Bild(0);
    bild.setLeft(0);
    bild.setTop(530 * 15);
    const QPoint overButton = bild.mapFrom(&form, onButton);
    QTest::mouseMove(&form, QPoint(400, 300));
    QTest::mouseMove(&bild, overButton);
    EXPECT_EQ(interaction.footerButton().lastPosition(), QPointF(400, 300)); // on the form itself
    QTest::mouseClick(&bild, Qt::RightButton, {}, overButton);
    QTest::mouseDClick(&bild, Qt::LeftButton, {}, overButton);
    EXPECT_FALSE(ended());
    bild.hide();

    // A tap on the footer button ends too (the mouse: FooterButtonHandlersTest); no double
    // click made up from the clicks before.
    QStyleHints *hints = QGuiApplication::styleHints();
    const int doubleClickInterval = hints->mouseDoubleClickInterval();
    hints->setMouseDoubleClickInterval(0);
    QPointingDevice *touchScreen = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    QTest::touchEvent(&form, touchScreen).press(0, onButton);
    EXPECT_EQ(interaction.footerButton().state(), FooterButtonState::Pressed);
    QTest::touchEvent(&form, touchScreen).release(0, onButton);
    hints->setMouseDoubleClickInterval(doubleClickInterval);
    EXPECT_TRUE(ended());
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}
