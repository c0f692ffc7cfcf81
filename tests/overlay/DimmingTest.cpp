#include "overlay/Dimming.h"
#include "overlay/FooterButton.h"
#include "raster/Colour.h"
#include "support/ErrorOf.h"
#include "support/OverlayScene.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const QRgb kOrange = qRgb(255, 140, 0);

// The form, outside the footer button's corner, must be the screenshot laid
// with `level` over what the buffer held before.
void expectDimmedFrame(const QImage &form, const QImage &under, int level)
{
    int wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const QRgb s = OverlayScene::screenshotPixel(x, y), d = under.pixel(x, y);
            const auto mix = [&](int (*channel)(QRgb)) {
                return int(std::lround((channel(s) * level + channel(d) * (255 - level)) / 255.0));
            };
            const bool button = x < 50 && y >= 530 && y < 590;
            wrong += !button && form.pixel(x, y) != qRgb(mix(qRed), mix(qGreen), mix(qBlue));
        }
    EXPECT_EQ(wrong, 0) << "level " << level;
}

class DimScreenTest : public ::testing::Test
{
protected:
    DimScreenTest()
    {
        scene.setScreenshot(800, 600);
        scene.fake.screen.area = QRect(0, 0, 1000, 700); // larger than the screenshot
        scene.prepareBuffers();
        scene.setButtonImage(OverlayScene::sampleButton());
    }
    MainForm &m() { return scene.Main(); }
    OverlayScene scene { 800 };
};

} // namespace

TEST_F(DimScreenTest, BlendsTheScreenshotAndDrawsTheButtonUndimmed)
{
    QImage black(800, 600, QImage::Format_RGB32);
    black.fill(qRgb(0, 0, 0));
    for (const int level : { 0, 255, 100 }) {
        m().DunkelPic->Cls();
        DimScreen(m(), static_cast<qint16>(level));
        expectDimmedFrame(m().image(), black, level);
        EXPECT_EQ(m().image().size(), QSize(1000, 700)); // the screen, not the whole form
        // The button is drawn after the blend: full brightness, on the buffer too.
        EXPECT_EQ(m().image().pixel(4, 541), kOrange);
        EXPECT_EQ(m().DunkelPic->image().pixel(4, 541), kOrange);
        // The form is larger than the buffer; beyond it the form keeps its grey.
        EXPECT_EQ(m().image().pixel(900, 100), Colour::toQRgb(Colour::Grey));
    }

    // The form's own drawing stays off the buffer; the next pass, without a
    // clear, blends over what the buffer held and lands on the form.
    const QImage buffer = m().DunkelPic->image().copy();
    DrawHelpButtonUp(m(), 1);
    EXPECT_EQ(m().DunkelPic->image(), buffer);
    DimScreen(m(), 128);
    expectDimmedFrame(m().image(), buffer, 128);

    // Cleared onto a picture, whole, one row high or one column wide, the buffer is blended as it
    // then is.
    m().DunkelPic->AutoSize = false;
    for (const QSize size : { QSize(800, 600), QSize(800, 1), QSize(1, 600) }) {
        const QImage picture = OverlayScene::sampleButton().scaled(size);
        m().DunkelPic->setPicture(Picture { picture }); // and cleared onto it
        const QImage cleared = m().DunkelPic->image().copy();
        DimScreen(m(), 77);
        expectDimmedFrame(m().image(), cleared, 77);
    }
}

TEST_F(DimScreenTest, LevelOutOfRangeIsOverflowBeforeAnyDrawing)
{
    const QImage buffer = m().DunkelPic->image().copy();
    const QImage form = m().image().copy();
    for (qint16 level : { qint16(256), qint16(-1), qint16(32767) })
        EXPECT_EQ(errorOf([&] { DimScreen(m(), level); }), QStringLiteral("6")) << level;
    EXPECT_EQ(m().DunkelPic->image(), buffer);
    EXPECT_EQ(m().image(), form);
}
