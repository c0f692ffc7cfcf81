#include "interaction/FooterButtonHandlers.h"

#include "form/MainForm.h"
#include "os/EndProgram.h"
#include "overlay/FooterButton.h"
#include "semantics/Arithmetic.h"
#include "semantics/Twips.h"
#include "state/ScreenContext.h"

namespace {

constexpr qint16 kTrue = -1;
constexpr qint16 kFalse = 0;

} // namespace

FooterButtonHandlers::FooterButtonHandlers(MainForm &Main)
    : m_main(Main)
    , m_context(Main.context())
{ }

qint16 FooterButtonHandlers::HitHelpButton(float X, float Y) const
{
    using namespace Arithmetic;
    const qint16 x = Twips::toIntegerPixelsViaSingle(X, m_context.TwipsPerPixelX);
    const qint16 y = Twips::toIntegerPixelsViaSingle(Y, m_context.TwipsPerPixelY);
    const qint16 a = sub(add(m_context.ButtonSize, 1), x);
    const qint16 d = sub(y, m_context.FooterTop);
    if (d > a)
        return 0;
    if (y < m_context.FooterTop)
        return 0;
    return 1;
}

void FooterButtonHandlers::Form_MouseDown(int, int, float X, float Y)
{
    m_context.LastMouseX = X;
    m_context.LastMouseY = Y;
    m_context.PressedButton = HitHelpButton(X, Y);
    if (m_context.PressedButton > 0) {
        DrawHelpButtonUp(m_main, m_context.PressedButton);
        m_context.MouseHeld = kTrue;
    }
}

void FooterButtonHandlers::Form_MouseMove(int, int, float X, float Y)
{
    m_context.LastMouseX = X;
    m_context.LastMouseY = Y;
    if (m_context.MouseHeld == kFalse)
        return;
    const qint16 h = HitHelpButton(X, Y);
    if (h != m_context.PressedButton && m_context.PressedButton != 0) {
        DrawHelpButtonDown(m_main, m_main, m_context.PressedButton);
        m_context.PressedButton = 0;
    }
}

void FooterButtonHandlers::Form_MouseUp(int, int, float X, float Y)
{
    m_context.LastMouseX = X;
    m_context.LastMouseY = Y;
    const qint16 h = HitHelpButton(X, Y);
    if (m_context.PressedButton != 0) {
        if (h == m_context.PressedButton && h == 1)
            EndProgram();
        DrawHelpButtonDown(m_main, m_main, m_context.PressedButton);
        m_context.PressedButton = 0;
    }
    m_context.MouseHeld = kFalse;
}

void FooterButtonHandlers::Form_DblClick()
{
    if (HitHelpButton(m_context.LastMouseX, m_context.LastMouseY) != 0)
        EndProgram();
    m_context.MouseHeld = kFalse;
}
