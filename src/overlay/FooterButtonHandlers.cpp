#include "overlay/FooterButtonHandlers.h"

#include "model/FooterButtonLayout.h"
#include "model/ScreenContext.h"
#include "os/EndProgram.h"
#include "overlay/FooterButton.h"
#include "overlay/MainForm.h"

namespace {

// The footer's buttons are numbered for the drawing; the help button is the only one.
constexpr qint16 kHelpButton = 1;

} // namespace

FooterButtonHandlers::FooterButtonHandlers(MainForm &Main)
    : m_main(Main)
    , m_context(Main.context())
{ }

bool FooterButtonHandlers::HitHelpButton(QPointF position) const
{
    return footerButtonHit(m_context, position);
}

void FooterButtonHandlers::Form_MouseDown(QPointF position)
{
    m_lastPosition = position;
    if (HitHelpButton(position)) {
        DrawHelpButtonUp(m_main, kHelpButton);
        m_state = FooterButtonState::Pressed;
    } else if (m_state == FooterButtonState::Pressed) {
        // A second mouse button off the button: the raised look stays on the
        // screen until the button is drawn next.
        m_state = FooterButtonState::Abandoned;
    }
}

void FooterButtonHandlers::Form_MouseMove(QPointF position)
{
    m_lastPosition = position;
    if (m_state == FooterButtonState::Pressed && !HitHelpButton(position)) {
        DrawHelpButtonDown(m_main, m_main, kHelpButton);
        m_state = FooterButtonState::Abandoned;
    }
}

void FooterButtonHandlers::Form_MouseUp(QPointF position)
{
    m_lastPosition = position;
    if (m_state == FooterButtonState::Pressed) {
        if (HitHelpButton(position))
            EndProgram(*m_main.services().terminator);
        DrawHelpButtonDown(m_main, m_main, kHelpButton);
    }
    m_state = FooterButtonState::Idle;
}

void FooterButtonHandlers::Form_DblClick()
{
    if (HitHelpButton(m_lastPosition))
        EndProgram(*m_main.services().terminator);
    // No longer held. (Pressed, the last position is on the button: the
    // program has ended.)
    if (m_state == FooterButtonState::Abandoned)
        m_state = FooterButtonState::Idle;
}
