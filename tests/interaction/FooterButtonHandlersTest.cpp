#include "form/MainForm.h"
#include "state/ScreenContext.h"
#include "interaction/FooterButtonHandlers.h"
#include "raster/Colour.h"
#include "os/RunGuarded.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// The footer button's looks as the form shows them: at each paint the raised
// look (a white leg on the footer's top row) or the latched one (a white
// hypotenuse), then the form is cleared for the next.
class LookRecorder : public QObject
{
public:
    explicit LookRecorder(MainForm &form)
        : m_form(form)
    {
        form.installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const QRgb white = Colour::toQRgb(Colour::White);
        if (m_form.image().pixel(0, 537) == white)
            drawings.append(QStringLiteral("up 1"));
        else if (m_form.image().pixel(33, 570) == white)
            drawings.append(QStringLiteral("down 1"));
        m_form.Cls();
        return false;
    }
    QStringList drawings;

private:
    MainForm &m_form;
};

// The real overlay form, sized to the 800 x 600 screen, its mouse events
// hooked to the footer button's handlers, fed with real mouse events.
class FooterButtonHandlersTest : public ::testing::Test
{
protected:
    FooterButtonHandlersTest()
    {
        context.TwipsPerPixelX = 15;
        context.TwipsPerPixelY = 15;
        context.ButtonSize = 41;
        context.FooterTop = 537;
        form.setWidth(12000);
        form.setHeight(9000);
        form.Symbol(0).hide();
        form.Bild(0).hide();
        QObject::connect(&form, &MainForm::mouseDown,
            [this](qint16 b, qint16 s, float x, float y) { button.Form_MouseDown(b, s, x, y); });
        QObject::connect(&form, &MainForm::mouseMove,
            [this](qint16 b, qint16 s, float x, float y) { button.Form_MouseMove(b, s, x, y); });
        QObject::connect(&form, &MainForm::mouseUp,
            [this](qint16 b, qint16 s, float x, float y) { button.Form_MouseUp(b, s, x, y); });
        QObject::connect(&form, &MainForm::dblClick, [this] { button.Form_DblClick(); });
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void press(QPoint at, Qt::MouseButton which = Qt::LeftButton)
    {
        QTest::mousePress(&form, which, {}, at);
    }
    void release(QPoint at, Qt::MouseButton which = Qt::LeftButton)
    {
        QTest::mouseRelease(&form, which, {}, at);
    }
    void move(QPoint at) { QTest::mouseMove(&form, at); }
    bool ended() const { return fake.terminator.calls > 0; }
    void expectState(qint16 pressed, qint16 held) const
    {
        EXPECT_EQ(context.PressedButton, pressed);
        EXPECT_EQ(context.MouseHeld, held);
    }

    FakePlatform fake;
    MainForm form;
    LookRecorder painter { form };
    ScreenContext &context = form.context();
    FooterButtonHandlers button { form };
};

const QPoint kOn(10, 560);
const QPoint kOff(400, 300);

} // namespace

TEST_F(FooterButtonHandlersTest, HitRegionEdgesOn800And1280)
{
    auto hit = [&](int x, int y) { return button.HitHelpButton(x * 15.0f, y * 15.0f); };
    EXPECT_EQ(hit(0, 537), 1);
    EXPECT_EQ(hit(42, 537), 1);
    EXPECT_EQ(hit(43, 537), 0);
    EXPECT_EQ(hit(0, 579), 1);
    EXPECT_EQ(hit(0, 580), 0);
    EXPECT_EQ(hit(10, 536), 0);
    EXPECT_EQ(hit(21, 558), 1); // on the hypotenuse
    EXPECT_EQ(hit(22, 558), 0);
    // Halves go to the even neighbour: 41.5 -> 42 (on), 42.5 -> 42 (on), 43.5 -> 44 (off).
    EXPECT_EQ(button.HitHelpButton(622.5f, 8055), 1);
    EXPECT_EQ(button.HitHelpButton(637.5f, 8055), 1);
    EXPECT_EQ(button.HitHelpButton(652.5f, 8055), 0);
    // 536.5 rounds to 536: above the footer.
    EXPECT_EQ(button.HitHelpButton(0, 536.5f * 15), 0);

    context.ButtonSize = 66;
    context.FooterTop = 916;
    EXPECT_EQ(hit(67, 916), 1);
    EXPECT_EQ(hit(0, 983), 1);
    EXPECT_EQ(hit(68, 916), 0);
    EXPECT_EQ(hit(0, 984), 0);
    EXPECT_EQ(hit(0, 915), 0);

    // Neither 800 nor 1280: only three pixels in the top-left corner.
    context.ButtonSize = 0;
    context.FooterTop = 0;
    EXPECT_EQ(hit(0, 0), 1);
    EXPECT_EQ(hit(1, 0), 1);
    EXPECT_EQ(hit(0, 1), 1);
    EXPECT_EQ(hit(1, 1), 0);
    EXPECT_EQ(hit(2, 0), 0);
    EXPECT_EQ(hit(0, 2), 0);
}

TEST_F(FooterButtonHandlersTest, HitTestArithmeticErrorsEndTheProgram)
{
    context.TwipsPerPixelX = 0; // a division by zero
    EXPECT_FALSE(runGuarded([&] { button.HitHelpButton(15, 15); }));
    context.TwipsPerPixelX = 0.001f; // 40000 pixels: beyond 16 bits
    EXPECT_FALSE(runGuarded([&] { button.HitHelpButton(40, 15); }));
    ASSERT_EQ(fake.messageBox.errors.size(), 2);
    EXPECT_TRUE(fake.messageBox.errors[0].startsWith(QStringLiteral("Run-time error '11'")));
    EXPECT_TRUE(fake.messageBox.errors[1].startsWith(QStringLiteral("Run-time error '6'")));
}

TEST_F(FooterButtonHandlersTest, RealClicksOnTheEdgePixelsWithAnyMouseButton)
{
    // Just off the button: nothing happens.
    for (const QPoint at : { QPoint(43, 537), QPoint(0, 580), QPoint(10, 536) }) {
        press(at);
        release(at);
        EXPECT_FALSE(ended()) << at.x() << "," << at.y();
        expectState(0, 0);
    }
    EXPECT_TRUE(painter.drawings.isEmpty());

    press(QPoint(0, 537));
    EXPECT_EQ(painter.drawings, QStringList { QStringLiteral("up 1") });
    expectState(1, -1);
    EXPECT_FALSE(ended());
    release(QPoint(0, 537));
    EXPECT_TRUE(ended());
    EXPECT_FLOAT_EQ(context.LastMouseX, 0);
    EXPECT_FLOAT_EQ(context.LastMouseY, 8055);

    const std::pair<QPoint, Qt::MouseButton> others[]
        = { { QPoint(42, 537), Qt::RightButton }, { QPoint(0, 579), Qt::MiddleButton } };
    for (const auto &[at, which] : others) {
        fake.terminator.calls = 0;
        context.PressedButton = 0;
        context.MouseHeld = 0;
        press(at, which);
        release(at, which);
        EXPECT_TRUE(ended()) << at.x() << "," << at.y();
    }
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}

TEST_F(FooterButtonHandlersTest, IdleTransitions)
{
    press(kOff);
    expectState(0, 0);
    move(kOn);
    move(kOff);
    expectState(0, 0);
    release(kOn); // a press off, then a release on: nothing
    expectState(0, 0);
    EXPECT_FALSE(ended());
    EXPECT_TRUE(painter.drawings.isEmpty());
    // Every event stored its position.
    EXPECT_FLOAT_EQ(context.LastMouseX, kOn.x() * 15.0f);
    EXPECT_FLOAT_EQ(context.LastMouseY, kOn.y() * 15.0f);
    move(QPoint(123, 45));
    EXPECT_FLOAT_EQ(context.LastMouseX, 1845);
    EXPECT_FLOAT_EQ(context.LastMouseY, 675);
}

TEST_F(FooterButtonHandlersTest, AbandonedPressNeverEnds)
{
    press(kOn);
    move(QPoint(12, 562)); // still on: nothing drawn
    EXPECT_EQ(painter.drawings, QStringList { QStringLiteral("up 1") });
    expectState(1, -1);
    move(kOff);
    expectState(0, -1);
    EXPECT_EQ(painter.drawings, (QStringList { QStringLiteral("up 1"), QStringLiteral("down 1") }));
    move(kOn); // back on: not pressed again, nothing drawn
    move(kOff);
    expectState(0, -1);
    release(kOn);
    expectState(0, 0);
    EXPECT_FALSE(ended());
    EXPECT_EQ(painter.drawings.size(), 2);
}

TEST_F(FooterButtonHandlersTest, PressedReleasedOffFallsBackToLatched)
{
    press(kOn);
    release(kOff); // no move reported in between
    expectState(0, 0);
    EXPECT_EQ(painter.drawings, (QStringList { QStringLiteral("up 1"), QStringLiteral("down 1") }));
    EXPECT_FALSE(ended());
}

TEST_F(FooterButtonHandlersTest, SecondMouseButtonWhilePressedOrAbandoned)
{
    // Pressed, a second button pressed on: raised look drawn again.
    press(kOn, Qt::LeftButton);
    press(kOn, Qt::RightButton);
    expectState(1, -1);
    EXPECT_EQ(painter.drawings, (QStringList { QStringLiteral("up 1"), QStringLiteral("up 1") }));

    // Pressed, a second button pressed off: Abandoned without drawing.
    painter.drawings.clear();
    press(kOff, Qt::MiddleButton);
    expectState(0, -1);
    EXPECT_TRUE(painter.drawings.isEmpty());

    // Abandoned, pressed off again: still Abandoned.
    press(kOff, Qt::LeftButton);
    expectState(0, -1);
    // Abandoned, pressed on: Pressed, raised look.
    press(kOn, Qt::RightButton);
    expectState(1, -1);
    EXPECT_EQ(painter.drawings, QStringList { QStringLiteral("up 1") });
    // Abandoned by moving off, then any release: Idle without drawing.
    move(kOff);
    painter.drawings.clear();
    release(kOn, Qt::RightButton);
    expectState(0, 0);
    EXPECT_TRUE(painter.drawings.isEmpty());
    EXPECT_FALSE(ended());
}

TEST_F(FooterButtonHandlersTest, DoubleClickUsesTheLastStoredPosition)
{
    // First click off the button; the double click arrives without a move:
    // the stored position is still off the button.
    press(kOff);
    release(kOff);
    QTest::mouseDClick(&form, Qt::LeftButton, {}, kOn);
    EXPECT_FALSE(ended());
    EXPECT_TRUE(painter.drawings.isEmpty());
    // The pointer moved onto the button before the second press.
    move(kOn);
    QTest::mouseDClick(&form, Qt::RightButton, {}, kOn);
    EXPECT_TRUE(ended());

    // The handler itself: off the button nothing happens but MouseHeld drops.
    fake.terminator.calls = 0;
    context.LastMouseX = kOff.x() * 15.0f;
    context.LastMouseY = kOff.y() * 15.0f;
    context.PressedButton = 1;
    context.MouseHeld = -1;
    EXPECT_TRUE(runGuarded([&] { button.Form_DblClick(); }));
    EXPECT_EQ(context.PressedButton, 1);
    EXPECT_EQ(context.MouseHeld, 0);
    EXPECT_FALSE(ended());
    context.LastMouseX = 0;
    context.LastMouseY = 8055;
    EXPECT_FALSE(runGuarded([&] { button.Form_DblClick(); }));
    EXPECT_TRUE(ended());
}
