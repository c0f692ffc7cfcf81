#pragma once

#include <QPoint>

class DrawingSurface;
struct ScreenContext;

// One line in the given colour, from `from` up to but not including `to`, in
// pixels. Leaves the surface's pen at that colour.
void DrawLine(QPoint from, QPoint to, quint32 colour, DrawingSurface &surface);

// The footer help button's bevel and silver triangle at the footer's top-left
// corner (FooterTop), in the geometry of the 800-pixel screen or, for every
// other width, of the 1280-pixel screen. Leaves the surface's pen and fill
// colours at fillColour.
void DrawButtonFrame(const ScreenContext &context, DrawingSurface &surface, quint32 fillColour,
    quint32 legColour, quint32 hypotenuseColour);
