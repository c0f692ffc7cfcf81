#include "platform/Shapes.h"

#include "platform/Colour.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool usable(const DeviceContext &dc)
{
    return dc.image && !dc.image->isNull() && dc.image->depth() == 32;
}

void plot(QImage &image, int x, int y, QRgb colour)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        reinterpret_cast<QRgb *>(image.scanLine(y))[x] = colour;
}

// Bresenham's line from a to b, b itself left out.
void line(QImage &image, QPoint a, QPoint b, QRgb colour)
{
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int error = dx + dy;
    int x = a.x();
    int y = a.y();
    while (x != b.x() || y != b.y()) {
        plot(image, x, y, colour);
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

qint64 cross(QPoint a, QPoint b, QPoint p)
{
    return qint64(b.x() - a.x()) * (p.y() - a.y()) - qint64(b.y() - a.y()) * (p.x() - a.x());
}

bool onSegment(QPoint a, QPoint b, QPoint p)
{
    return cross(a, b, p) == 0 && p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x())
        && p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y());
}

// On an edge, or inside by the alternate (even-odd) rule.
bool covered(const QPoint *points, int count, QPoint p)
{
    bool inside = false;
    for (int k = 0, m = count - 1; k < count; m = k++) {
        const QPoint a = points[m];
        const QPoint b = points[k];
        if (onSegment(a, b, p))
            return true;
        if ((a.y() > p.y()) != (b.y() > p.y())) {
            // x of the edge at row p.y(), compared without a division.
            const qint64 lhs = qint64(p.x() - a.x()) * (b.y() - a.y());
            const qint64 rhs = qint64(b.x() - a.x()) * (p.y() - a.y());
            if ((b.y() > a.y()) ? lhs < rhs : lhs > rhs)
                inside = !inside;
        }
    }
    return inside;
}

} // namespace

bool Polyline(const DeviceContext &dc, const QPoint *points, int count)
{
    if (!usable(dc) || !points || count < 2)
        return false;
    const QRgb pen = Colour::toQRgb(dc.penColour);
    for (int k = 0; k + 1 < count; ++k)
        line(*dc.image, points[k], points[k + 1], pen);
    return true;
}

bool Polygon(const DeviceContext &dc, const QPoint *points, int count)
{
    if (!usable(dc) || !points || count < 2)
        return false;
    QImage &image = *dc.image;
    int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (int k = 1; k < count; ++k) {
        left = std::min(left, points[k].x());
        right = std::max(right, points[k].x());
        top = std::min(top, points[k].y());
        bottom = std::max(bottom, points[k].y());
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width() - 1);
    bottom = std::min(bottom, image.height() - 1);

    const QRgb fill = Colour::toQRgb(dc.fillColour);
    for (int y = top; y <= bottom; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = left; x <= right; ++x)
            if (covered(points, count, QPoint(x, y)))
                line[x] = fill;
    }

    const QRgb pen = Colour::toQRgb(dc.penColour);
    for (int k = 0; k < count; ++k)
        line(image, points[k], points[(k + 1) % count], pen);
    return true;
}
