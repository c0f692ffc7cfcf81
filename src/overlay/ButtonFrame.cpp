#include "overlay/ButtonFrame.h"

#include "model/FooterButtonLayout.h"
#include "raster/DrawingSurface.h"
#include "raster/Shapes.h"

namespace {

// One line in the given colour, from `from` up to but not including `to`.
// Leaves the surface's pen at that colour.
void DrawLine(QPoint from, QPoint to, quint32 colour, DrawingSurface &surface)
{
    surface.ForeColor = colour;
    const QPoint points[2] = { from, to };
    Polyline(surface.hDC(), points, 2);
}

} // namespace

void DrawButtonFrame(const ScreenContext &context, DrawingSurface &surface, quint32 fillColour,
    quint32 legColour, quint32 hypotenuseColour)
{
    const FooterButtonFrame frame = footerButtonFrame(context);
    for (const FooterButtonFrame::Line &l : frame.lines)
        DrawLine(l.line.p1(), l.line.p2(), l.hypotenuse ? hypotenuseColour : legColour, surface);
    surface.ForeColor = fillColour;
    surface.FillColor = fillColour;
    Polygon(surface.hDC(), frame.triangle.constData(), int(frame.triangle.size()));
}
