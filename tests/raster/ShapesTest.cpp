#include "raster/Shapes.h"
#include "raster/Colour.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr QRgb kBackground = 0xFF000000;

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBackground);
    return image;
}

int painted(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != kBackground;
    return count;
}

} // namespace

TEST(Polyline, PaintsUpToButNotIncludingTheEndPoint)
{
    QImage image = blank(20, 20);
    const DeviceContext dc { &image, Colour::White, Colour::Black };

    const QPoint horizontal[] = { QPoint(2, 3), QPoint(7, 3) };
    Polyline(dc, horizontal, 2);
    EXPECT_EQ(painted(image), 5);
    EXPECT_EQ(image.pixel(2, 3), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(7, 3), kBackground);

    // 45 degrees upwards: (x0 + i, y0 - i) for i = 0 .. n - 1.
    QImage diagonal = blank(20, 20);
    const DeviceContext grey { &diagonal, Colour::Grey, Colour::Black };
    const QPoint up[] = { QPoint(0, 12), QPoint(10, 2) };
    Polyline(grey, up, 2);
    EXPECT_EQ(painted(diagonal), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(diagonal.pixel(i, 12 - i), qRgb(128, 128, 128)) << i;
    EXPECT_EQ(diagonal.pixel(10, 2), kBackground);

    // A chain paints every point but the last; lines leaving the image are clipped.
    QImage chain = blank(10, 10);
    const QPoint points[] = { QPoint(0, 0), QPoint(0, 4), QPoint(-3, 4) };
    Polyline(DeviceContext { &chain, Colour::White, 0 }, points, 3);
    EXPECT_EQ(painted(chain), 5);

    // A single point draws nothing.
    EXPECT_FALSE(Polyline(dc, horizontal, 1));
}

namespace {

// The rule, point by point: on an edge, or inside by the even-odd count of
// edges crossed to the left of the point (edges spanning the row half-open).
bool coveredByRule(const std::vector<QPoint> &polygon, int x, int y)
{
    bool inside = false;
    for (size_t k = 0, m = polygon.size() - 1; k < polygon.size(); m = k++) {
        const QPoint a = polygon[m], b = polygon[k];
        const qint64 cross
            = qint64(b.x() - a.x()) * (y - a.y()) - qint64(b.y() - a.y()) * (x - a.x());
        if (cross == 0 && x >= std::min(a.x(), b.x()) && x <= std::max(a.x(), b.x())
            && y >= std::min(a.y(), b.y()) && y <= std::max(a.y(), b.y()))
            return true;
        if ((a.y() > y) != (b.y() > y)) {
            const double xc = a.x() + double(b.x() - a.x()) * (y - a.y()) / double(b.y() - a.y());
            if (x < xc)
                inside = !inside;
        }
    }
    return inside;
}

} // namespace

TEST(Polygon, InsideFollowsTheEvenOddRuleOutlineTakesThePen)
{
    const std::vector<std::vector<QPoint>> shapes = {
        { { 2, 2 }, { 30, 5 }, { 12, 29 } }, // slanted triangle
        { { 1, 1 }, { 30, 1 }, { 30, 30 }, { 16, 8 }, { 1, 30 } }, // concave
        { { 16, 0 }, { 20, 30 }, { 0, 10 }, { 31, 10 }, { 10, 30 } }, // self-crossing star
        { { -5, 3 }, { 40, 8 }, { 8, 40 } }, // clipped at the edges
        { { 3, -6 }, { 28, -4 }, { 16, 20 } }, // clipped at the top: row 0 is inside
    };
    for (const auto &shape : shapes) {
        QImage image = blank(32, 32);
        // The outline, a rasterised line rather than the exact edge, is left out.
        Polygon(DeviceContext { &image, Colour::White, Colour::Silver }, shape.data(),
            int(shape.size()));
        int wrong = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (image.pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                const bool expected = coveredByRule(shape, x, y);
                if ((image.pixel(x, y) == qRgb(192, 192, 192)) != expected && ++wrong < 5)
                    ADD_FAILURE() << "shape starting " << shape[0].x() << "," << shape[0].y()
                                  << " pixel " << x << "," << y << " should be "
                                  << (expected ? "filled" : "empty");
            }
        EXPECT_EQ(wrong, 0);
    }

    // The outline, the closing edge too, takes the pen.
    QImage two = blank(12, 12);
    const QPoint small[] = { QPoint(0, 0), QPoint(8, 0), QPoint(0, 8) };
    Polygon(DeviceContext { &two, Colour::White, Colour::Grey }, small, 3);
    EXPECT_EQ(two.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(two.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(two.pixel(2, 2), qRgb(128, 128, 128));
}
