#include "raster/Shapes.h"

#include "raster/Colour.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool usable(const DeviceContext &dc)
{
    return dc.image && !dc.image->isNull() && dc.image->depth() == 32;
}

// Writes pixels of one colour, clipped to the image.
class Pixels
{
public:
    explicit Pixels(QImage &image)
        : m_bits(image.bits())
        , m_stride(image.bytesPerLine())
        , m_width(image.width())
        , m_height(image.height())
    { }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void plot(int x, int y, QRgb colour)
    {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            row(y)[x] = colour;
    }
    // Columns first..last of row y (inclusive).
    void span(int y, int first, int last, QRgb colour)
    {
        if (y < 0 || y >= m_height)
            return;
        first = std::max(first, 0);
        last = std::min(last, m_width - 1);
        QRgb *line = row(y);
        for (int x = first; x <= last; ++x)
            line[x] = colour;
    }

private:
    QRgb *row(int y) { return reinterpret_cast<QRgb *>(m_bits + qsizetype(y) * m_stride); }

    uchar *m_bits;
    qsizetype m_stride;
    int m_width;
    int m_height;
};

// Bresenham's line from a to b, b itself left out.
void line(Pixels &pixels, QPoint a, QPoint b, QRgb colour)
{
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int error = dx + dy;
    int x = a.x();
    int y = a.y();
    while (x != b.x() || y != b.y()) {
        pixels.plot(x, y, colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

qint64 floorDivide(qint64 numerator, qint64 denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const qint64 quotient = numerator / denominator;
    return (numerator % denominator != 0 && numerator < 0) ? quotient - 1 : quotient;
}

qint64 ceilDivide(qint64 numerator, qint64 denominator)
{
    return -floorDivide(-numerator, denominator);
}

// Where an edge meets row y: ax + num / den, exactly.
struct Crossing
{
    qint64 base, numerator, denominator;
    double value() const { return double(base) + double(numerator) / double(denominator); }
    qint64 firstAtOrRight() const { return base + ceilDivide(numerator, denominator); }
};

Crossing crossingAt(QPoint a, QPoint b, int y)
{
    return Crossing { a.x(), qint64(b.x() - a.x()) * (y - a.y()), qint64(b.y() - a.y()) };
}

// Fills row y: every pixel on an edge, and every pixel inside by the
// alternate (even-odd) rule, crossings counted on edges that span the row
// half-open (from above the row to on or below it).
void fillRow(Pixels &pixels, const QPoint *points, int count, int y, QRgb colour,
    std::vector<Crossing> &crossings)
{
    crossings.clear();
    for (int k = 0, m = count - 1; k < count; m = k++) {
        const QPoint a = points[m];
        const QPoint b = points[k];
        if (a.y() == y && b.y() == y) {
            pixels.span(y, std::min(a.x(), b.x()), std::max(a.x(), b.x()), colour);
            continue;
        }
        if (y < std::min(a.y(), b.y()) || y > std::max(a.y(), b.y()))
            continue;
        const Crossing c = crossingAt(a, b, y);
        if (c.numerator % c.denominator == 0)
            pixels.plot(int(c.base + c.numerator / c.denominator), y, colour);
        if ((a.y() > y) != (b.y() > y))
            crossings.push_back(c);
    }
    std::sort(crossings.begin(), crossings.end(),
        [](const Crossing &l, const Crossing &r) { return l.value() < r.value(); });
    // Inside between crossings 0 and 1, 2 and 3, ...: x in [c0, c1).
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
        const qint64 first = crossings[k].firstAtOrRight();
        const qint64 last = crossings[k + 1].firstAtOrRight() - 1;
        if (first <= last)
            pixels.span(y, int(std::max<qint64>(first, -1)),
                int(std::min<qint64>(last, pixels.width())), colour);
    }
}

} // namespace

bool Polyline(const DeviceContext &dc, const QPoint *points, int count)
{
    if (!usable(dc) || !points || count < 2)
        return false;
    Pixels pixels(*dc.image);
    const QRgb pen = Colour::toQRgb(dc.penColour);
    for (int k = 0; k + 1 < count; ++k)
        line(pixels, points[k], points[k + 1], pen);
    return true;
}

bool Polygon(const DeviceContext &dc, const QPoint *points, int count)
{
    if (!usable(dc) || !points || count < 2)
        return false;
    Pixels pixels(*dc.image);
    int top = points[0].y(), bottom = top;
    for (int k = 1; k < count; ++k) {
        top = std::min(top, points[k].y());
        bottom = std::max(bottom, points[k].y());
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, pixels.height() - 1);

    const QRgb fill = Colour::toQRgb(dc.fillColour);
    std::vector<Crossing> crossings;
    for (int y = top; y <= bottom; ++y)
        fillRow(pixels, points, count, y, fill, crossings);

    const QRgb pen = Colour::toQRgb(dc.penColour);
    for (int k = 0; k < count; ++k)
        line(pixels, points[k], points[(k + 1) % count], pen);
    return true;
}
