#include "gif/GifEncoder.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Reads a GIF through Qt's own decoder, insisting that Qt sees a GIF.
QImage readGif(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Every pixel must come back exactly: the same colour where it was opaque,
// alpha 0 where it was transparent.
void expectSamePixels(const QImage &expected, const QImage &actual, const char *what)
{
    const QImage want = expected.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(want.size(), actual.size()) << what;
    int wrong = 0;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = want.pixel(x, y);
            const QRgb b = actual.pixel(x, y);
            const bool same = qAlpha(a) == 0
                ? qAlpha(b) == 0
                : (qAlpha(b) == 255 && qRgb(qRed(a), qGreen(a), qBlue(a)) == (b | 0xFF000000u));
            if (!same && ++wrong <= 3)
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") " << std::hex << a
                              << " came back as " << b;
        }
    }
    EXPECT_EQ(wrong, 0) << what;
}

// An image whose pixels cycle through `colours` distinct colours in a
// pattern that is neither all runs nor all noise.
QImage patterned(int width, int height, int colours)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int n = ((x / 3) + y * 7 + (x * y) % 5) % colours;
            image.setPixel(x, y, qRgb(n * 37 % 256, n, 255 - n));
        }
    return image;
}

QImage noise(int width, int height, int colours, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(i, 255 - i, (i * 91) % 256));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.bounded(colours));
    return image;
}

} // namespace

TEST(GifEncoder, OddSizesAndColourCountsComeBackExactly)
{
    struct Case
    {
        int width, height, colours;
    };
    // 1, 2 and 4 colours use the smallest code size; 5, 17, 129 and 256 need
    // 3, 5, 8 and 8 bits of colour table.
    const Case cases[] = { { 1, 1, 1 }, { 1, 300, 2 }, { 300, 1, 3 }, { 3, 5, 4 }, { 37, 23, 5 },
        { 255, 257, 17 }, { 101, 99, 129 }, { 64, 65, 256 } };
    for (const Case &c : cases) {
        const QImage image = patterned(c.width, c.height, c.colours);
        GifEncoder encoder;
        const QByteArray gif = encoder.encode(image);
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + " with "
            + std::to_string(c.colours) + " colours";
        ASSERT_FALSE(gif.isEmpty()) << what << ": " << encoder.errorString().toStdString();
        EXPECT_TRUE(gif.startsWith("GIF89a")) << what;
        expectSamePixels(image, readGif(gif), what.c_str());
    }
}

TEST(GifEncoder, NoiseGrowsCodesToTwelveBitsAndClearsTheTable)
{
    // Random pixels rarely repeat strings, so the table fills up quickly:
    // with 256 colours and with the 2-bit minimum code size alike.
    for (const int colours : { 256, 4, 2 }) {
        const QImage image = noise(301, 211, colours, 7u + static_cast<quint32>(colours));
        GifEncoder encoder;
        const QByteArray gif = encoder.encode(image);
        ASSERT_FALSE(gif.isEmpty());
        EXPECT_EQ(encoder.statistics().largestCodeSize, 12) << colours << " colours";
        // The leading clear code and at least one reset of a full table.
        EXPECT_GE(encoder.statistics().clearCodes, 2) << colours << " colours";
        expectSamePixels(image, readGif(gif), "noise");
    }
}

TEST(GifEncoder, LongRunsAndTheTableBoundary)
{
    // One colour everywhere: every new string is the previous one plus its
    // own first index, so the decoder keeps meeting codes it has not
    // finished yet.
    QImage flat(517, 433, QImage::Format_RGB32);
    flat.fill(qRgb(10, 200, 30));
    GifEncoder encoder;
    QByteArray gif = encoder.encode(flat);
    EXPECT_LT(gif.size(), 8000); // real compression, not one code per pixel
    expectSamePixels(flat, readGif(gif), "flat");

    // Sizes around the moment the table fills: the clear code falls on
    // different pixels, including the very last one.
    for (const int width : { 1500, 1502, 2000 }) {
        const QImage image = noise(width, 3, 16, 99);
        const QByteArray bytes = encoder.encode(image);
        expectSamePixels(image, readGif(bytes), "boundary");
    }
}

TEST(GifEncoder, Transparency)
{
    // Alpha 0 anywhere in a true-colour image becomes one transparent entry.
    QImage argb(19, 13, QImage::Format_ARGB32);
    argb.fill(qRgb(0, 0, 255));
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            if ((x + y) % 4 == 0)
                argb.setPixel(x, y, qRgba(x * 10, y * 10, 0, 0));
            else if (x % 5 == 0)
                argb.setPixel(x, y, qRgb(255, 255, 0));
        }
    GifEncoder encoder;
    const QByteArray gif = encoder.encode(argb);
    ASSERT_FALSE(gif.isEmpty());
    EXPECT_NE(gif.indexOf(QByteArray("\x21\xF9\x04\x01", 4)), -1);
    const QImage back = readGif(gif);
    expectSamePixels(argb, back, "argb");
    EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
    EXPECT_EQ(back.pixel(1, 0), qRgb(0, 0, 255));

    // An indexed image names its transparent index explicitly ...
    QImage indexed(7, 9, QImage::Format_Indexed8);
    indexed.setColorTable({ qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 255, 255) });
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            indexed.setPixel(x, y, (x * y + x) % 3);
    encoder.setTransparentIndex(2);
    const QImage keyed = readGif(encoder.encode(indexed));
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x) {
            const int index = indexed.pixelIndex(x, y);
            if (index == 2)
                EXPECT_EQ(qAlpha(keyed.pixel(x, y)), 0) << x << "," << y;
            else
                EXPECT_EQ(keyed.pixel(x, y), indexed.color(index)) << x << "," << y;
        }

    // ... and without one, an image without alpha has no transparency at all.
    encoder.setTransparentIndex(-1);
    const QByteArray opaque = encoder.encode(indexed);
    EXPECT_EQ(opaque.indexOf(QByteArray("\x21\xF9", 2)), -1);
    expectSamePixels(indexed, readGif(opaque), "opaque indexed");

    // A table entry with alpha 0, as Qt's reader makes it, stays transparent
    // through a second round trip.
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    const QImage asRead = QImageReader(&buffer, "gif").read();
    expectSamePixels(argb, readGif(encoder.encode(asRead)), "second round");
}

TEST(GifEncoder, FileLayoutIsPlainGif89a)
{
    const QImage image = noise(40, 30, 5, 3);
    GifEncoder encoder;
    encoder.setTransparentIndex(4);
    const QByteArray gif = encoder.encode(image);
    ASSERT_GT(gif.size(), 13 + 24 + 8 + 10 + 2);
    const auto byte = [&](qsizetype at) { return static_cast<quint8>(gif.at(at)); };

    EXPECT_EQ(gif.left(6), QByteArray("GIF89a"));
    EXPECT_EQ(byte(6) | (byte(7) << 8), 40);
    EXPECT_EQ(byte(8) | (byte(9) << 8), 30);
    EXPECT_EQ(byte(10), 0x80 | (2 << 4) | 2); // global table of 8 entries
    qsizetype at = 13 + 8 * 3;
    EXPECT_EQ(
        QByteArray(gif.constData() + at, 8), QByteArray("\x21\xF9\x04\x01\x00\x00\x04\x00", 8));
    at += 8;
    EXPECT_EQ(byte(at), 0x2C);
    EXPECT_EQ(byte(at + 9), 0); // no local table, not interlaced
    at += 10;
    EXPECT_EQ(byte(at), 3); // minimum code size for 8 table entries
    ++at;
    // Sub-blocks of at most 255 bytes, then the terminator and the trailer.
    int blocks = 0;
    while (at < gif.size() && byte(at) != 0) {
        at += 1 + byte(at);
        ++blocks;
    }
    EXPECT_GE(blocks, 1);
    ASSERT_EQ(at + 2, gif.size());
    EXPECT_EQ(byte(at + 1), 0x3B);
}

TEST(GifEncoder, RefusesWhatGifCannotHold)
{
    GifEncoder encoder;
    EXPECT_TRUE(encoder.encode(QImage()).isEmpty());
    EXPECT_FALSE(encoder.errorString().isEmpty());

    // 257 colours: refused, never quantised.
    QImage many(257, 1, QImage::Format_RGB32);
    for (int x = 0; x < 257; ++x)
        many.setPixel(x, 0, qRgb(x % 256, x / 256, 0));
    EXPECT_TRUE(encoder.encode(many).isEmpty());
    EXPECT_TRUE(encoder.errorString().contains(QStringLiteral("256")));
    // 256 colours and transparency need 257 entries as well.
    QImage withHole = many.copy(0, 0, 256, 1).convertToFormat(QImage::Format_ARGB32);
    withHole = withHole.copy(0, 0, 257, 1); // the new pixel is transparent
    EXPECT_TRUE(encoder.encode(withHole).isEmpty());

    QImage indexed(4, 4, QImage::Format_Indexed8);
    indexed.setColorTable({ qRgb(1, 2, 3), qRgb(4, 5, 6) });
    indexed.fill(0);
    indexed.scanLine(2)[3] = 5; // beyond the table (setPixel would refuse it)
    EXPECT_TRUE(encoder.encode(indexed).isEmpty());
    EXPECT_TRUE(encoder.errorString().contains(QStringLiteral("(3, 2)")));
    indexed.setPixel(3, 2, 1);
    encoder.setTransparentIndex(2);
    EXPECT_TRUE(encoder.encode(indexed).isEmpty());
    encoder.setTransparentIndex(1);
    EXPECT_FALSE(encoder.encode(indexed).isEmpty());
    EXPECT_TRUE(encoder.errorString().isEmpty());
}

TEST(GifEncoder, WritesFiles)
{
    TempFolder folder;
    const QImage image = patterned(33, 17, 9);
    GifEncoder encoder;
    const QString name = folder.path() + QStringLiteral("/sub-less.gif");
    ASSERT_TRUE(encoder.write(image, name)) << encoder.errorString().toStdString();
    expectSamePixels(image, QImage(name).convertToFormat(QImage::Format_ARGB32), "file");

    EXPECT_FALSE(encoder.write(image, folder.path() + QStringLiteral("/missing/folder/x.gif")));
    EXPECT_TRUE(encoder.errorString().contains(QStringLiteral("x.gif")));
    EXPECT_FALSE(encoder.write(QImage(), folder.path() + QStringLiteral("/empty.gif")));
    EXPECT_FALSE(QFile::exists(folder.path() + QStringLiteral("/empty.gif")));
}
