#pragma once

#include <QtGlobal>

class DrawingSurface;
struct ScreenContext;

// The footer help button's bevel and silver triangle where the model puts them
// (model/FooterButtonLayout.h). Leaves the surface's pen and fill
// colours at fillColour.
void DrawButtonFrame(const ScreenContext &context, DrawingSurface &surface, quint32 fillColour,
    quint32 legColour, quint32 hypotenuseColour);
