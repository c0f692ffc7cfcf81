#include "overlay/ButtonFrame.h"
#include "model/ScreenContext.h"
#include "raster/Colour.h"
#include "raster/DrawingSurface.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

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

// The frame drawn on black against its reference picture (made once, checked by eye).
void expectFrame(qint16 width, qint16 footerTop, QSize size, quint32 leg, quint32 hypotenuse,
    const char *reference)
{
    ScreenContext c;
    c.DispHInt = width;
    c.FooterTop = footerTop;
    TestSurface surface(size.width(), size.height());
    surface.ForeColor = 0x123456;
    surface.FillColor = 0x654321;
    DrawButtonFrame(c, surface, Colour::Silver, leg, hypotenuse);
    const QImage expected(QStringLiteral(TAVLIN_SOURCE_DIR "/tests/data/") + reference);
    EXPECT_TRUE(surface.image() == expected.convertToFormat(surface.image().format()))
        << reference << " at width " << width;
    EXPECT_TRUE(surface.ForeColor == Colour::Silver && surface.FillColor == Colour::Silver);
    EXPECT_EQ(surface.refreshes, 0);
}

} // namespace

// Legs one pixel wide and a hypotenuse two on the 800-pixel screen, two and
// three on every other, and the triangle inside them.
TEST(DrawButtonFrame, MatchesItsReferencePictures)
{
    expectFrame(800, 537, QSize(60, 600), Colour::White, Colour::Grey, "ButtonFrame800.png");
    for (qint16 width : { 1280, 1024 })
        expectFrame(
            width, 916, QSize(90, 1000), Colour::Grey, Colour::White, "ButtonFrameWide.png");
}
