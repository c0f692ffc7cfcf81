#include "symbols/HelpMark.h"

#include <QImageReader>
#include <gtest/gtest.h>

// The symbol images beside the program (the overlay shows their cyan as
// transparent) and the footer button's mark on silver: the background
// reaches every corner but not the middle, and the badge's pixels next to it
// are its dark outline, never a blend that would leave a fringe of the
// background's colour on the screen.
TEST(SymbolImages, BuiltBesideTheProgramWithAHardOutline)
{
    const auto file = [](const char *name) {
        QImageReader reader(QStringLiteral(TAVLIN_BINARY_DIR "/bin/") + QLatin1String(name));
        EXPECT_EQ(reader.format(), QByteArray("gif")) << name;
        const QImage image = reader.read();
        EXPECT_FALSE(image.hasAlphaChannel()) << name << ": cyan is a colour, not transparency";
        return image.convertToFormat(QImage::Format_RGB32);
    };
    const struct
    {
        QImage image;
        int size;
        QRgb background;
    } cases[] = { { file("Tavlin_800.gif"), 24, 0xFF00FFFFu },
        { file("Tavlin_1280.gif"), 36, 0xFF00FFFFu },
        { drawHelpMark(16, 0xFFC0C0C0u).convertToFormat(QImage::Format_RGB32), 16, 0xFFC0C0C0u },
        { drawHelpMark(26, 0xFFC0C0C0u).convertToFormat(QImage::Format_RGB32), 26, 0xFFC0C0C0u } };
    for (const auto &c : cases) {
        const QImage &image = c.image;
        ASSERT_EQ(image.size(), QSize(c.size, c.size));
        const int last = c.size - 1;
        for (const QPoint p :
            { QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last) })
            EXPECT_EQ(image.pixel(p), c.background) << c.size;
        EXPECT_NE(image.pixel(c.size / 2, c.size / 2), c.background) << c.size;
        int edge = 0;
        for (int y = 0; y < c.size; ++y)
            for (int x = 0; x < c.size; ++x) {
                const auto background = [&](int u, int v) {
                    return image.rect().contains(u, v) && image.pixel(u, v) == c.background;
                };
                if (!background(x, y)
                    && (background(x - 1, y) || background(x + 1, y) || background(x, y - 1)
                        || background(x, y + 1))) {
                    ++edge;
                    EXPECT_LT(qRed(image.pixel(x, y)), 100) << c.size << " at " << x << "," << y;
                }
            }
        EXPECT_GT(edge, c.size);
    }
}
