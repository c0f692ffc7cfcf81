#pragma once

#include <QtGlobal>

class DrawingSurface;
struct ScreenContext;

// One line in the given colour, from (x1, y1) up to but not including
// (x2, y2); the coordinates are twips, turned into pixels with the screen's
// twips per pixel as it is now. Leaves the surface's pen at that colour.
void DrawLine(float x1, float y1, float x2, float y2, quint32 colour, DrawingSurface &surface);

// The footer help button's bevel and silver triangle at the footer's top-left
// corner (FooterTop), in the geometry of the 800-pixel screen or, for every
// other width, of the 1280-pixel screen. Leaves the surface's pen and fill
// colours at fillColour.
void DrawButtonFrame(const ScreenContext &context, DrawingSurface &surface, quint32 fillColour,
    quint32 legColour, quint32 hypotenuseColour);
