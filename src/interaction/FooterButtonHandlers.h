#pragma once

#include <QtGlobal>

class MainForm;
struct ScreenContext;

// The overlay form's mouse handlers for the footer help button. The state is
// the pair (PressedButton, MouseHeld) in the screen context:
//   Idle       0, false   latched look
//   Pressed    1, true    raised look
//   Abandoned  0, true    latched look
// A press on the button raises it; leaving it while pressed drops it back to
// the latched look for good; a release on it after a press that never left
// it, or a double click on it, ends the program. Any mouse button counts.
// Positions are twips relative to the form.
class FooterButtonHandlers
{
public:
    explicit FooterButtonHandlers(MainForm &Main);

    // 1 when (X, Y) lies in the help button's hit region, else 0.
    qint16 HitHelpButton(float X, float Y) const;

    void Form_MouseDown(int Button, int Shift, float X, float Y);
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void Form_MouseUp(int Button, int Shift, float X, float Y);
    void Form_DblClick();

private:
    MainForm &m_main;
    ScreenContext &m_context;
};
