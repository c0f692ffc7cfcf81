#include "overlay/Dimming.h"
#include "overlay/FooterButton.h"
#include "raster/Colour.h"
#include "semantics/RuntimeError.h"
#include "support/OverlayScene.h"

#include <gtest/gtest.h>

namespace {

const QRgb kOrange = qRgb(255, 140, 0);

// Compares the form's image with the screenshot dimmed by `level` over the
// given previous buffer content, outside the footer button's corner; counts
// and reports the first mismatches.
void expectDimmedFrame(const QImage &form, const QImage &previous, int level)
{
    int wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            if (x < 50 && y >= 530 && y < 590)
                continue; // the button
            const QRgb s = OverlayScene::screenshotPixel(x, y);
            const QRgb d = previous.pixel(x, y);
            auto blend = [level](int sc, int dc) {
                return int(std::lround((sc * level + dc * (255 - level)) / 255.0));
            };
            const QRgb expected = qRgb(
                blend(qRed(s), qRed(d)), blend(qGreen(s), qGreen(d)), blend(qBlue(s), qBlue(d)));
            if (form.pixel(x, y) != expected && ++wrong < 5)
                ADD_FAILURE() << x << "," << y << " level " << level;
        }
    EXPECT_EQ(wrong, 0);
}

class DimScreenTest : public ::testing::Test
{
protected:
    DimScreenTest()
    {
        scene.setScreenshot(800, 600);
        scene.prepareBuffers();
        scene.setButtonImage(OverlayScene::sampleButton());
    }
    MainForm &m() { return scene.Main(); }
    QImage black() const
    {
        QImage image(800, 600, QImage::Format_RGB32);
        image.fill(qRgb(0, 0, 0));
        return image;
    }
    OverlayScene scene { 800 };
};

} // namespace

TEST_F(DimScreenTest, BlendsTheScreenshotAndDrawsTheButtonUndimmed)
{
    for (const int level : { 255, 100, 0 }) {
        SCOPED_TRACE(level);
        m().DunkelPic->Cls();
        DimScreen(m(), static_cast<qint16>(level));
        expectDimmedFrame(m().image(), black(), level);
        // The button is drawn after the blend: full brightness, on the buffer too.
        EXPECT_EQ(m().image().pixel(4, 541), kOrange);
        EXPECT_EQ(m().image().pixel(10, 550), Colour::toQRgb(Colour::Silver));
        EXPECT_EQ(m().DunkelPic->image().pixel(4, 541), kOrange);
        // The form is larger than the buffer; beyond it the form keeps its grey.
        EXPECT_EQ(m().image().pixel(900, 100), Colour::toQRgb(Colour::Grey));
    }

    // The form's own drawing stays off the buffer; the next pass lands on the form.
    const QImage buffer = m().DunkelPic->image().copy();
    DrawHelpButtonUp(m(), 1);
    EXPECT_EQ(m().DunkelPic->image(), buffer);
    m().DunkelPic->Cls();
    DimScreen(m(), 100);
    expectDimmedFrame(m().image(), black(), 100);
}

TEST_F(DimScreenTest, TwoCallsWithoutClearAccumulate)
{
    DimScreen(m(), 128);
    const QImage first = m().DunkelPic->image().copy();
    DimScreen(m(), 128);
    expectDimmedFrame(m().image(), first, 128);
}

TEST_F(DimScreenTest, LevelOutOfRangeIsOverflowBeforeAnyDrawing)
{
    const QImage buffer = m().DunkelPic->image().copy();
    const QImage form = m().image().copy();
    for (qint16 level : { qint16(256), qint16(-1), qint16(32767) }) {
        try {
            DimScreen(m(), level);
            ADD_FAILURE() << "no error for " << level;
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), 6);
        }
    }
    EXPECT_EQ(m().DunkelPic->image(), buffer);
    EXPECT_EQ(m().image(), form);
}
