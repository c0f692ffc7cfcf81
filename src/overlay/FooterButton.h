#pragma once

#include <QString>
#include <QtGlobal>

class DrawingSurface;
class MainForm;
struct ScreenContext;

// The footer help button's image file for the display width.
QString footerButtonImagePath(const ScreenContext &context);

// The raised look (light legs, dark hypotenuse, image at its home position)
// drawn on the form, which is then refreshed. Button numbers other than 1 draw
// nothing.
void DrawHelpButtonUp(MainForm &Main, qint16 button);

// The latched look (dark legs, light hypotenuse, image one pixel right and
// down) drawn on the given surface (the form or the dimming buffer), which is
// then refreshed. Button numbers other than 1 draw nothing.
//
// The image is loaded from disk for every drawing. When it is missing or cannot
// be decoded, the frame and triangle are drawn and the image is left out: the
// way out of help mode must stay usable without it.
void DrawHelpButtonDown(MainForm &Main, DrawingSurface &surface, qint16 button);
