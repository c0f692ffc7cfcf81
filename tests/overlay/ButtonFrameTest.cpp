#include "overlay/ButtonFrame.h"
#include "state/ScreenContext.h"
#include "raster/Colour.h"
#include "raster/DrawingSurface.h"
#include "support/FakePlatform.h"

#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

constexpr QRgb kBlack = 0xFF000000;
const QRgb kWhite = Colour::toQRgb(Colour::White);
const QRgb kGrey = Colour::toQRgb(Colour::Grey);
const QRgb kSilver = Colour::toQRgb(Colour::Silver);

class TestSurface : public DrawingSurface
{
public:
    TestSurface(int w, int h)
    {
        BackColor = Colour::Black;
        resizeImage(w, h);
        Cls();
    }
    void Refresh() override { ++refreshes; }
    int refreshes = 0;
};

ScreenContext layout(qint16 width, qint16 footerTop, float twips)
{
    ScreenContext c;
    c.DispHInt = width;
    c.FooterTop = footerTop;
    c.TwipsPerPixelX = twips;
    c.TwipsPerPixelY = twips;
    return c;
}

// The pixels a line of the frame tables paints: from its start towards its
// end, the end left out.
void addLine(
    std::map<std::pair<int, int>, QRgb> &pixels, int x0, int y0, int x1, int y1, QRgb colour)
{
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    const int sx = (x1 > x0) - (x1 < x0), sy = (y1 > y0) - (y1 < y0);
    for (int i = 0; i < n; ++i)
        pixels[{ x0 + i * sx, y0 + i * sy }] = colour;
}

void expectImage(const QImage &image, const std::map<std::pair<int, int>, QRgb> &pixels)
{
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const auto it = pixels.find({ x, y });
            const QRgb expected = it == pixels.end() ? kBlack : it->second;
            if (image.pixel(x, y) != expected && ++wrong < 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                              << image.pixel(x, y) << " not " << expected;
        }
    EXPECT_EQ(wrong, 0);
}

void addTriangle(std::map<std::pair<int, int>, QRgb> &pixels, int corner, int top, int leg)
{
    for (int y = top + corner; y <= top + corner + leg; ++y)
        for (int x = corner; x <= corner + leg; ++x)
            if ((x - corner) + (y - top - corner) <= leg)
                pixels[{ x, y }] = kSilver;
}

} // namespace

TEST(DrawButtonFrame, NarrowScreenRaisedLookPixelForPixel)
{
    FakePlatform fake;
    const ScreenContext c = layout(800, 537, 15.0f);
    TestSurface surface(60, 600);
    surface.ForeColor = 0x123456;
    surface.FillColor = 0x654321;

    DrawButtonFrame(c, surface, Colour::Silver, Colour::White, Colour::Grey);

    std::map<std::pair<int, int>, QRgb> expected;
    addLine(expected, 0, 537, 41, 537, kWhite);
    addLine(expected, 0, 537, 0, 577, kWhite);
    addLine(expected, 0, 577, 40, 537, kGrey);
    addLine(expected, 0, 578, 42, 536, kGrey);
    addTriangle(expected, 1, 537, 37);
    expectImage(surface.image(), expected);

    EXPECT_EQ(surface.ForeColor, Colour::Silver);
    EXPECT_EQ(surface.FillColor, Colour::Silver);
    EXPECT_EQ(surface.refreshes, 0);
}

TEST(DrawButtonFrame, WideGeometryForEveryOtherWidth)
{
    FakePlatform fake;
    fake.screen.x = fake.screen.y = 12.0f;
    for (qint16 width : { qint16(1280), qint16(1024) }) {
        const ScreenContext c = layout(width, 916, 12.0f);
        TestSurface surface(90, 1000);
        DrawButtonFrame(c, surface, Colour::Silver, Colour::Grey, Colour::White);

        std::map<std::pair<int, int>, QRgb> expected;
        addLine(expected, 0, 916, 66, 916, kGrey);
        addLine(expected, 0, 917, 64, 917, kGrey);
        addLine(expected, 0, 916, 0, 981, kGrey);
        addLine(expected, 1, 916, 1, 979, kGrey);
        addLine(expected, 0, 982, 67, 915, kWhite);
        addLine(expected, 0, 981, 65, 916, kWhite);
        addLine(expected, 1, 979, 63, 917, kWhite);
        addTriangle(expected, 2, 916, 59);
        SCOPED_TRACE(width);
        expectImage(surface.image(), expected);
        EXPECT_EQ(surface.FillColor, Colour::Silver);
    }
}

TEST(DrawLine, UsesTheScreenFactorsOfTheMoment)
{
    FakePlatform fake;
    fake.screen.x = 15.0f;
    fake.screen.y = 12.0f;
    TestSurface surface(10, 10);
    // 22.5 twips / 15 = 1.5 -> 2 (half to even), 30 / 12 = 2.5 -> 2.
    DrawLine(22.5f, 30.0f, 22.5f + 4 * 15.0f, 30.0f, Colour::White, surface);
    EXPECT_EQ(surface.ForeColor, Colour::White);
    std::set<int> columns;
    for (int x = 0; x < 10; ++x)
        if (surface.image().pixel(x, 2) == kWhite)
            columns.insert(x);
    EXPECT_EQ(columns, (std::set<int> { 2, 3, 4, 5 }));
}
