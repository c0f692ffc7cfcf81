#include "overlay/ButtonFrame.h"

#include "raster/DrawingSurface.h"
#include "raster/Shapes.h"
#include "state/ScreenContext.h"

#include <QPoint>

namespace {

struct Line
{
    int x1, dy1, x2, dy2; // pixels; y relative to the footer's top edge
    bool hypotenuse;
};

// Bevel lines in drawing order; legs one pixel wide and a hypotenuse two on the
// 800-pixel screen, two and three on every other.
constexpr Line kLines800[] = {
    { 0, 0, 41, 0, false },
    { 0, 0, 0, 40, false },
    { 0, 40, 40, 0, true },
    { 0, 41, 42, -1, true },
};
constexpr Line kLinesOther[] = {
    { 0, 0, 66, 0, false },
    { 0, 1, 64, 1, false },
    { 0, 0, 0, 65, false },
    { 1, 0, 1, 63, false },
    { 0, 66, 67, -1, true },
    { 0, 65, 65, 0, true },
    { 1, 63, 63, 1, true },
};

} // namespace

void DrawLine(QPoint from, QPoint to, quint32 colour, DrawingSurface &surface)
{
    surface.ForeColor = colour;
    const QPoint points[2] = { from, to };
    Polyline(surface.hDC(), points, 2);
}

void DrawButtonFrame(const ScreenContext &context, DrawingSurface &surface, quint32 fillColour,
    quint32 legColour, quint32 hypotenuseColour)
{
    const int top = context.FooterTop;
    const bool narrow = context.DispHInt == 800;

    const Line *lines = narrow ? kLines800 : kLinesOther;
    const int count = narrow ? int(std::size(kLines800)) : int(std::size(kLinesOther));
    for (int k = 0; k < count; ++k) {
        const Line &l = lines[k];
        DrawLine(QPoint(l.x1, top + l.dy1), QPoint(l.x2, top + l.dy2),
            l.hypotenuse ? hypotenuseColour : legColour, surface);
    }

    surface.ForeColor = fillColour;
    surface.FillColor = fillColour;
    const int inner = narrow ? 1 : 2; // the triangle's corner
    const int far = narrow ? 38 : 61; // the end of its legs
    QPoint triangle[3] = {
        QPoint(inner, top + inner),
        QPoint(far, top + inner),
        QPoint(inner, top + far),
    };
    Polygon(surface.hDC(), triangle, 3);
}
