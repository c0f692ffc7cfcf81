#include "raster/Blit.h"
#include "raster/Colour.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage numbered(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 10, 77));
    return image;
}

DeviceContext dc(QImage &image)
{
    return DeviceContext { &image, 0, 0 };
}

// Source laid over destination with opacity `level`, every channel rounded to nearest.
QRgb blended(QRgb s, QRgb d, int level)
{
    const auto mix = [&](int (*channel)(QRgb)) {
        return int(std::lround((channel(s) * level + channel(d) * (255 - level)) / 255.0));
    };
    return qRgb(mix(qRed), mix(qGreen), mix(qBlue));
}

} // namespace

TEST(BitBlt, CopiesUnchangedClipsToBothImagesAndOverlaps)
{
    QImage source = numbered(10, 8);
    QImage target = filled(6, 6, qRgb(1, 2, 3));

    // Destination starts left of and above the target, source runs past its
    // right edge: only the overlap of both is written.
    EXPECT_TRUE(BitBlt(dc(target), -2, -1, 20, 20, dc(source), 5, 3));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const int sx = x + 2 + 5, sy = y + 1 + 3;
            const QRgb expected = (sx < 10 && sy < 8) ? source.pixel(sx, sy) : qRgb(1, 2, 3);
            EXPECT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }

    // A source origin outside the source copies only what exists.
    QImage second = filled(4, 4, qRgb(9, 9, 9));
    BitBlt(dc(second), 0, 0, 4, 4, dc(source), -2, 0);
    EXPECT_EQ(second.pixel(1, 0), qRgb(9, 9, 9));
    EXPECT_EQ(second.pixel(2, 0), source.pixel(0, 0));

    // Within one image, the parts overlapping.
    QImage image = numbered(8, 8);
    const QImage before = image.copy();
    BitBlt(dc(image), 1, 2, 6, 5, dc(image), 0, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(image.pixel(x + 1, y + 2), before.pixel(x, y));
}

TEST(TransparentBlt, LeavesOutTheKeyColour)
{
    QImage source = filled(4, 3, qRgb(200, 10, 10));
    source.setPixel(1, 1, Colour::toQRgb(Colour::Cyan));
    source.setPixel(2, 1, qRgb(0, 255, 254)); // near cyan is not the key
    QImage target = numbered(10, 10);
    const QImage before = target.copy();

    TransparentBlt(dc(target), 8, 8, 4, 3, dc(source), 0, 0, 4, 3, Colour::Cyan);
    EXPECT_EQ(target.pixel(8, 8), qRgb(200, 10, 10));
    EXPECT_EQ(target.pixel(9, 9), before.pixel(9, 9)); // cyan left out
    // (10, 9) lies outside the target: clipped, nothing written elsewhere.
    EXPECT_EQ(target.pixel(0, 9), before.pixel(0, 9));

    TransparentBlt(dc(target), 0, 0, 4, 3, dc(source), 0, 0, 4, 3, Colour::Cyan);
    EXPECT_EQ(target.pixel(1, 1), before.pixel(1, 1));
    EXPECT_EQ(target.pixel(2, 1), qRgb(0, 255, 254));

    // Source rows beyond the source image leave their destination rows alone; no source, nothing.
    QImage lower = before.copy();
    TransparentBlt(dc(lower), 0, 0, 4, 3, dc(source), 0, 1, 4, 3, Colour::Cyan);
    EXPECT_EQ(lower.pixel(0, 1), qRgb(200, 10, 10));
    EXPECT_EQ(lower.pixel(0, 2), before.pixel(0, 2));
    EXPECT_FALSE(TransparentBlt(dc(lower), 0, 0, 1, 1, DeviceContext {}, 0, 0, 1, 1, 0));
}

TEST(AlphaBlend, EveryChannelPair)
{
    // Source channels run along x, destination channels along y: every pair of
    // values meets once, in all three channels (red, green, blue shifted).
    QImage source(256, 256, QImage::Format_RGB32);
    QImage destination(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            source.setPixel(x, y, qRgb(x, 255 - x, (x + 85) % 256));
            destination.setPixel(x, y, qRgb(y, (y * 7) % 256, 255 - y));
        }
    for (int level : { 0, 1, 100, 105, 128, 200, 254, 255 }) {
        QImage target = destination.copy();
        ASSERT_TRUE(
            AlphaBlend(dc(target), 0, 0, 256, 256, dc(source), 0, 0, 256, 256, quint8(level)));
        int mismatches = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                mismatches += target.pixel(x, y)
                    != blended(source.pixel(x, y), destination.pixel(x, y), level);
        EXPECT_EQ(mismatches, 0) << "level " << level;
    }

    // Over one colour, every level over every value of every channel.
    QImage row = source.copy(0, 0, 256, 1);
    QImage target(256, 1, QImage::Format_RGB32);
    int mismatches = 0;
    for (int level = 0; level < 256; ++level)
        for (int d = 0; d < 256; ++d) {
            const QRgb under = qRgb(d, 255 - d, (d * 7) % 256);
            AlphaBlendOverOneColour(
                dc(target), 0, 0, 256, 1, dc(row), 0, 0, 256, 1, quint8(level), under);
            const auto *blendedRow = reinterpret_cast<const QRgb *>(target.constScanLine(0));
            for (int x = 0; x < 256; ++x)
                mismatches += blendedRow[x] != blended(row.pixel(x, 0), under, level);
        }
    EXPECT_EQ(mismatches, 0);
}

// Every width from 1 to 40 pixels at an odd offset, so that every split
// between whole groups of pixels and the remaining ones is met, over the
// destination's pixels and over its one known colour.
TEST(AlphaBlend, EveryWidth)
{
    const QRgb under = qRgb(90, 180, 30);
    QImage source = numbered(48, 2);
    for (int w = 1; w <= 40; ++w) {
        QImage target = filled(48, 2, under), overColour = target.copy();
        AlphaBlend(dc(target), 3, 1, w, 1, dc(source), 5, 0, w, 1, 77);
        AlphaBlendOverOneColour(dc(overColour), 3, 1, w, 1, dc(source), 5, 0, w, 1, 77, under);
        EXPECT_EQ(overColour, target) << "width " << w;
        for (int x = 0; x < 48; ++x) {
            const bool inside = x >= 3 && x < 3 + w;
            EXPECT_EQ(
                target.pixel(x, 1), inside ? blended(source.pixel(x + 2, 0), under, 77) : under)
                << "width " << w << " x " << x;
            EXPECT_EQ(target.pixel(x, 0), under);
        }
    }
}

TEST(AlphaBlend, ClippingAndSampling)
{
    // A destination offset, clipped at the right edge.
    QImage source = filled(7, 3, qRgb(255, 255, 255));
    QImage target = filled(9, 3, qRgb(0, 0, 0));
    AlphaBlend(dc(target), 5, 0, 7, 3, dc(source), 0, 0, 7, 3, 100);
    EXPECT_EQ(target.pixel(4, 1), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(5, 1), qRgb(100, 100, 100));
    EXPECT_EQ(target.pixel(8, 2), qRgb(100, 100, 100));
    EXPECT_FALSE(AlphaBlend(dc(target), 0, 0, 1, 1, DeviceContext {}, 0, 0, 1, 1, 9)); // no source

    // A different source size is sampled to the destination's.
    QImage small = numbered(2, 2);
    QImage large = filled(4, 4, qRgb(0, 0, 0));
    AlphaBlend(dc(large), 0, 0, 4, 4, dc(small), 0, 0, 2, 2, 255);
    EXPECT_EQ(large.pixel(3, 3), small.pixel(1, 1));
    EXPECT_EQ(large.pixel(1, 0), small.pixel(0, 0));
    QImage tall = filled(2, 4, qRgb(0, 0, 0)); // the same width, another height
    AlphaBlend(dc(tall), 0, 0, 2, 4, dc(small), 0, 0, 2, 2, 255);
    EXPECT_EQ(tall.pixel(0, 3), small.pixel(0, 1));
    QImage right = filled(4, 4, qRgb(0, 0, 0)); // sampled and clipped at the right edge
    AlphaBlend(dc(right), 2, 0, 4, 4, dc(small), 0, 0, 2, 2, 255);
    EXPECT_EQ(QList<QRgb>({ right.pixel(3, 1), right.pixel(0, 2) }),
        QList<QRgb>({ small.pixel(0, 0), qRgb(0, 0, 0) })); // (0, 2) is not an overrun
    QImage below = filled(2, 4, qRgb(1, 2, 3)); // rows sampled past the source's bottom stay
    AlphaBlend(dc(below), 0, 0, 2, 4, dc(small), 0, 1, 2, 2, 255);
    EXPECT_EQ(QList<QRgb>({ below.pixel(0, 1), below.pixel(0, 2), below.pixel(1, 3) }),
        QList<QRgb>({ small.pixel(0, 1), qRgb(1, 2, 3), qRgb(1, 2, 3) }));
}
