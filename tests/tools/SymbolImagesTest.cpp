#include "symbols/HelpMark.h"

#include <QImageReader>
#include <QSet>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kCyan = 0xFF00FFFFu;
constexpr QRgb kSilver = 0xFFC0C0C0u;

// The badge is a disc: outside its circle everything is the background,
// well inside it nothing is. Returns the number of pixels checked.
int expectDisc(const QImage &image, QRgb background, const char *what)
{
    const double centre = image.width() / 2.0;
    int checked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
            if (distance > centre + 0.5) {
                EXPECT_EQ(pixel, background) << what << " outside at " << x << "," << y;
                ++checked;
            } else if (distance < centre * 0.85) {
                EXPECT_NE(pixel, background) << what << " inside at " << x << "," << y;
                ++checked;
            }
        }
    return checked;
}

// Counts pixels near white and near the badge's blue in the middle third,
// where the question mark stands.
void expectQuestionMark(const QImage &image, const char *what)
{
    int white = 0;
    int blue = 0;
    const int from = image.width() / 3;
    const int to = image.width() - from;
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 220 && qGreen(pixel) > 220 && qBlue(pixel) > 220)
                ++white;
            else if (qBlue(pixel) > 150 && qRed(pixel) < 120)
                ++blue;
        }
    EXPECT_GT(white, 0) << what;
    EXPECT_GT(blue, 0) << what;
}

} // namespace

TEST(SymbolImages, BuiltBesideTheProgram)
{
    struct Expected
    {
        const char *name;
        int size;
    };
    for (const Expected &expected :
        { Expected { "Tavlin_800.gif", 24 }, Expected { "Tavlin_1280.gif", 36 } }) {
        const QString path
            = QStringLiteral(TAVLIN_BINARY_DIR "/bin/") + QLatin1String(expected.name);
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray("gif")) << expected.name;
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << expected.name << ": " << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(expected.size, expected.size)) << expected.name;
        EXPECT_FALSE(image.hasAlphaChannel() && image.pixel(0, 0) >> 24 != 0xFF)
            << "cyan is a plain colour, not GIF transparency";

        // All four corners are cyan, the centre is not.
        for (const QPoint corner : { QPoint(0, 0), QPoint(expected.size - 1, 0),
                 QPoint(0, expected.size - 1), QPoint(expected.size - 1, expected.size - 1) })
            EXPECT_EQ(image.pixel(corner), kCyan) << expected.name;
        EXPECT_NE(image.pixel(expected.size / 2, expected.size / 2), kCyan) << expected.name;
        EXPECT_GT(expectDisc(image, kCyan, expected.name), expected.size * expected.size / 2);
        expectQuestionMark(image, expected.name);
    }
}

TEST(SymbolImages, HelpMarkOnAnyBackground)
{
    // The footer button uses the same mark on silver, at small sizes.
    for (const int size : { 15, 24, 36, 64 }) {
        const QImage mark = drawHelpMark(size, kSilver);
        ASSERT_EQ(mark.size(), QSize(size, size));
        const std::string what = "silver " + std::to_string(size);
        expectDisc(mark, kSilver, what.c_str());
        expectQuestionMark(mark, what.c_str());

        // A hard outline: the badge pixels next to the background are the
        // dark ring, never a blend with the background; and few enough
        // colours for one GIF colour table.
        QSet<QRgb> colours;
        int edge = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = mark.pixel(x, y);
                colours.insert(pixel);
                if (pixel == kSilver)
                    continue;
                const bool touchesBackground = (x > 0 && mark.pixel(x - 1, y) == kSilver)
                    || (y > 0 && mark.pixel(x, y - 1) == kSilver)
                    || (x + 1 < size && mark.pixel(x + 1, y) == kSilver)
                    || (y + 1 < size && mark.pixel(x, y + 1) == kSilver);
                if (touchesBackground) {
                    ++edge;
                    EXPECT_LT(qRed(pixel), 100) << what << " at " << x << "," << y;
                }
            }
        EXPECT_GT(edge, size);
        EXPECT_LE(colours.size(), 256) << what;
    }
    // Even a background that matches the badge's own blue is kept apart.
    const QImage blueOnBlue = drawHelpMark(36, qRgb(30, 100, 205));
    expectDisc(blueOnBlue, 0xFF1E64CDu, "blue");
}
