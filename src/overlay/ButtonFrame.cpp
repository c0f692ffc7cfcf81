#include "overlay/ButtonFrame.h"

#include "os/Platform.h"
#include "raster/DrawingSurface.h"
#include "raster/Shapes.h"
#include "semantics/Arithmetic.h"
#include "semantics/Twips.h"
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

// y of a footer row as twips: T + n formed as an Integer first, then scaled;
// the row above the footer as T x factor minus the factor.
float rowTwips(qint16 top, int offset, float twipsPerPixel)
{
    if (offset < 0)
        return top * twipsPerPixel - twipsPerPixel;
    return Arithmetic::add(top, static_cast<qint16>(offset)) * twipsPerPixel;
}

} // namespace

void DrawLine(float x1, float y1, float x2, float y2, quint32 colour, DrawingSurface &surface)
{
    surface.ForeColor = colour;
    ScreenMetrics &screen = *platform().screen;
    QPoint points[3];
    points[1] = QPoint(Twips::toLongPixelsViaSingle(x1, screen.twipsPerPixelX()),
        Twips::toLongPixelsViaSingle(y1, screen.twipsPerPixelY()));
    points[2] = QPoint(Twips::toLongPixelsViaSingle(x2, screen.twipsPerPixelX()),
        Twips::toLongPixelsViaSingle(y2, screen.twipsPerPixelY()));
    Polyline(surface.hDC(), &points[1], 2);
}

void DrawButtonFrame(const ScreenContext &context, DrawingSurface &surface, quint32 fillColour,
    quint32 legColour, quint32 hypotenuseColour)
{
    const qint16 top = context.FooterTop;
    const float tx = context.TwipsPerPixelX;
    const float ty = context.TwipsPerPixelY;
    const bool narrow = context.DispHInt == 800;

    const Line *lines = narrow ? kLines800 : kLinesOther;
    const int count = narrow ? int(std::size(kLines800)) : int(std::size(kLinesOther));
    for (int k = 0; k < count; ++k) {
        const Line &l = lines[k];
        DrawLine(l.x1 * tx, rowTwips(top, l.dy1, ty), l.x2 * tx, rowTwips(top, l.dy2, ty),
            l.hypotenuse ? hypotenuseColour : legColour, surface);
    }

    surface.ForeColor = fillColour;
    surface.FillColor = fillColour;
    const int inner = narrow ? 1 : 2; // the triangle's corner
    const int far = narrow ? 38 : 61; // the end of its legs
    QPoint triangle[3] = {
        QPoint(inner, Arithmetic::add(top, static_cast<qint16>(inner))),
        QPoint(far, Arithmetic::add(top, static_cast<qint16>(inner))),
        QPoint(inner, Arithmetic::add(top, static_cast<qint16>(far))),
    };
    Polygon(surface.hDC(), triangle, 3);
}
