#pragma once

#include <QtGlobal>

// The footer help button's two looks, drawn by the overlay form.
class HelpButtonPainter
{
public:
    enum class Surface { Main };

    virtual ~HelpButtonPainter() = default;
    // The raised look, drawn on the form and refreshed onto the screen.
    virtual void DrawHelpButtonUp(qint16 button) = 0;
    // The latched look, drawn on the given surface.
    virtual void DrawHelpButtonDown(Surface surface, qint16 button) = 0;
};
