#pragma once

#include <QPointF>

class MainForm;
struct ScreenContext;

// The footer help button's state (the classic pair PressedButton, MouseHeld):
//   Idle       0, false   latched look
//   Pressed    1, true    raised look
//   Abandoned  0, true    latched look
enum class FooterButtonState { Idle, Pressed, Abandoned };

// The overlay form's mouse handlers for the footer help button. A press on
// the button raises it; leaving it while pressed drops it back to the latched
// look for good; a release on it after a press that never left it, or a
// double click on it, ends the program. Any mouse button counts. Positions
// are pixels relative to the form.
class FooterButtonHandlers
{
public:
    explicit FooterButtonHandlers(MainForm &Main);

    // Whether the position lies in the help button's hit region
    // (model/FooterButtonLayout.h).
    bool HitHelpButton(QPointF position) const;

    void Form_MouseDown(QPointF position);
    void Form_MouseMove(QPointF position);
    void Form_MouseUp(QPointF position);
    void Form_DblClick();

    FooterButtonState state() const { return m_state; }
    // The latest press, move or release; the double click has no position of its own.
    QPointF lastPosition() const { return m_lastPosition; }

private:
    MainForm &m_main;
    const ScreenContext &m_context;
    FooterButtonState m_state = FooterButtonState::Idle;
    QPointF m_lastPosition;
};
