#include "gif/GifEncoder.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// What a GIF can say about a pixel: transparent (all 0) or an opaque colour, as premultiplying
// says it for the images here, whose pixels are all either opaque or wholly transparent.
QImage asGifSees(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Every pixel must come back through Qt's own reader.
void expectRoundTrip(GifEncoder &encoder, const QImage &image)
{
    const QByteArray gif = encoder.encode(image);
    ASSERT_TRUE(gif.startsWith("GIF89a")) << encoder.errorString().toStdString();
    EXPECT_TRUE(gif.endsWith(QByteArray("\x00\x3B", 2)));
    EXPECT_TRUE(asGifSees(QImage::fromData(gif, "GIF")) == asGifSees(image));
}

// `colours` colours in a pattern (neither all runs nor all noise), or at random.
QImage pixels(int width, int height, int colours, quint32 randomSeed = 0)
{
    QRandomGenerator random(randomSeed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int n = randomSeed ? int(random.bounded(colours))
                                     : ((x / 3) + y * 7 + (x * y) % 5) % colours;
            image.setPixel(x, y, qRgb(n * 37 % 256, n, 255 - n));
        }
    return image;
}

} // namespace

// Code sizes 2 to 12 bits, a full table cleared, a code used before the decoder has
// finished it (one colour), the clear code on different pixels (widths around a full
// table); alpha 0 becomes one transparent entry.
TEST(GifEncoder, ImagesComeBackExactly)
{
    struct Case
    {
        int width, height, colours;
        quint32 randomSeed;
    };
    const Case cases[] = { { 1, 1, 1, 0 }, { 1, 300, 2, 0 }, { 300, 1, 3, 0 }, { 3, 5, 4, 0 },
        { 37, 23, 5, 0 }, { 255, 257, 17, 0 }, { 101, 99, 129, 0 }, { 64, 65, 256, 0 },
        { 301, 211, 256, 1 }, { 301, 211, 4, 2 }, { 301, 211, 2, 3 }, { 517, 433, 1, 0 },
        { 1500, 3, 16, 4 }, { 1502, 3, 16, 4 }, { 2000, 3, 16, 4 } };
    GifEncoder encoder;
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << ", " << c.colours);
        expectRoundTrip(encoder, pixels(c.width, c.height, c.colours, c.randomSeed));
        if (c.randomSeed && c.height > 3) {
            EXPECT_EQ(encoder.statistics().largestCodeSize, 12);
            EXPECT_GE(encoder.statistics().clearCodes, 2) << "the full table is reset";
        }
    }
    EXPECT_LT(encoder.encode(pixels(517, 433, 1)).size(), 8000) << "real compression";

    QImage argb = pixels(19, 13, 3).convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 19 * 13; i += 4)
        argb.setPixel(i % 19, i / 19, qRgba(i, 0, 0, 0));
    expectRoundTrip(encoder, argb);

    // An indexed image: a table entry with alpha 0, or the index named, is transparent; else none.
    QImage indexed(7, 9, QImage::Format_Indexed8);
    indexed.setColorTable({ qRgb(255, 0, 0), qRgb(0, 255, 0), 0 });
    for (int i = 0; i < 7 * 9; ++i)
        indexed.setPixel(i % 7, i / 7, i % 3);
    expectRoundTrip(encoder, indexed);
    QImage opaque = indexed;
    opaque.setColor(2, qRgb(0, 255, 255));
    expectRoundTrip(encoder, opaque);
    encoder.setTransparentIndex(2);
    EXPECT_TRUE(asGifSees(QImage::fromData(encoder.encode(opaque), "GIF")) == asGifSees(indexed));
}
