#include "model/ScreenContext.h"
#include "overlay/MainForm.h"
#include "overlay/OverlayInteraction.h"
#include "raster/Colour.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// The real form on the 800 x 600 screen with its interaction hooked in.
class FooterButtonHandlersTest : public ::testing::Test, public QObject
{
protected:
    FooterButtonHandlersTest()
    {
        context.TwipsPerPixelX = context.TwipsPerPixelY = 15;
        context.ButtonSize = 41;
        context.FooterTop = 537;
        form.setWidth(12000);
        form.setHeight(9000);
        form.Symbol(0).hide();
        form.Bild(0).hide();
        form.installEventFilter(this);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // The looks the form shows at each paint, "U" raised (a white leg on the footer's top
    // row) and "D" latched (a white hypotenuse); then the form is cleared for the next.
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const QRgb white = Colour::toQRgb(Colour::White);
        if (form.image().pixel(0, 537) == white)
            drawn += "U";
        else if (form.image().pixel(33, 570) == white)
            drawn += "D";
        form.Cls();
        return false;
    }

    // Plays d(own), u(p), m(ove) or c (double click), the button (L, R, M; none for moves)
    // and o(n) or x (off the button), separated by blanks: "dLo mx uLo".
    void play(const char *events)
    {
        for (const QByteArray &e : QByteArray(events).split(' ')) {
            const QPoint at = e.endsWith('o') ? QPoint(10, 560) : QPoint(400, 300);
            const Qt::MouseButton which
                = e[1] == 'L' ? Qt::LeftButton : (e[1] == 'R' ? Qt::RightButton : Qt::MiddleButton);
            if (e[0] == 'm')
                QTest::mouseMove(&form, at);
            else if (e[0] == 'd')
                QTest::mousePress(&form, which, {}, at);
            else if (e[0] == 'u')
                QTest::mouseRelease(&form, which, {}, at);
            else
                QTest::mouseDClick(&form, which, {}, at);
        }
    }

    FakeServices fake;
    std::string drawn;
    MainForm form { fake.services() };
    ScreenContext &context = form.context();
    OverlayInteraction interaction { form, {} };
    FooterButtonHandlers &button = interaction.footerButton();
};

} // namespace

// The footer button's states, driven by real events.
TEST_F(FooterButtonHandlersTest, StateMachine)
{
    using S = FooterButtonState;
    struct Case
    {
        const char *events;
        FooterButtonState state;
        const char *drawn;
        bool ends;
    };
    const Case cases[] = {
        { "dLx mo mx uLo", S::Idle, "", false }, // a press off, then a release on: nothing
        { "dLo mo", S::Pressed, "U", false }, // moving on the button draws nothing
        { "dLo uLo", S::Pressed, "U", true },
        { "dLo mx mo mx uLo", S::Idle, "UD", false }, // abandoned: never pressed again
        { "dLo uLx", S::Idle, "UD", false }, // released off without a move first
        { "dLo dRo", S::Pressed, "UU", false }, // a second button on: raised again
        { "dLo dMx", S::Abandoned, "U", false }, // a second button off: abandoned silently
        { "dLo mx cLx", S::Idle, "UD", false }, // a double click lets go
        // A double click uses the position stored last, not its own.
        { "dLx uLx cLo", S::Idle, "", false },
        { "dLx uLx mo cRo", S::Idle, "", true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.events);
        play("uLx"); // from any state to Idle
        drawn.clear();
        fake.terminator.calls = 0;
        play(c.events);
        if (!c.ends) {
            EXPECT_EQ(button.state(), c.state);
        }
        EXPECT_EQ(drawn, c.drawn);
        EXPECT_EQ(fake.terminator.calls, c.ends ? 1 : 0);
    }
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}
