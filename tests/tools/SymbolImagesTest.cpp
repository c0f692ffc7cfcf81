#include "symbols/HelpMark.h"

#include <QImageReader>
#include <gtest/gtest.h>

// Background in the corners, not the middle, and next to it a dark outline, never a blend
// (which would leave a fringe of the cyan the overlay shows as transparent).
TEST(SymbolImages, BuiltBesideTheProgramWithAHardOutline)
{
    const auto file = [](const char *name) {
        QImageReader reader(QStringLiteral(TAVLIN_BINARY_DIR "/bin/") + QLatin1String(name));
        EXPECT_EQ(reader.format(), QByteArray("gif")) << name;
        const QImage image = reader.read();
        EXPECT_FALSE(image.hasAlphaChannel()) << name << ": cyan is a colour, not transparency";
        return image;
    };
    const QRgb cyan = 0xFF00FFFFu, silver = 0xFFC0C0C0u;
    const struct
    {
        QImage image;
        int size;
        QRgb background;
    } cases[] = { { file("Tavlin_800.gif"), 24, cyan }, { file("Tavlin_1280.gif"), 36, cyan },
        { drawHelpMark(16, silver), 16, silver }, { drawHelpMark(26, silver), 26, silver } };
    for (const auto &c : cases) {
        const QImage image = c.image.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(c.size, c.size));
        const auto isBackground = [&](int x, int y) {
            return image.rect().contains(x, y) && image.pixel(x, y) == c.background;
        };
        const int last = c.size - 1;
        EXPECT_TRUE(isBackground(0, 0) && isBackground(last, 0) && isBackground(0, last)
            && isBackground(last, last) && !isBackground(c.size / 2, c.size / 2))
            << c.size;
        int edge = 0;
        for (int y = 0; y < c.size; ++y)
            for (int x = 0; x < c.size; ++x)
                if (!isBackground(x, y)
                    && (isBackground(x - 1, y) || isBackground(x + 1, y) || isBackground(x, y - 1)
                        || isBackground(x, y + 1))) {
                    ++edge;
                    EXPECT_LT(qRed(image.pixel(x, y)), 100) << c.size << " at " << x << "," << y;
                }
        EXPECT_GT(edge, c.size);
    }
}
