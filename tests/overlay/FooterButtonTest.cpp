#include "overlay/FooterButton.h"
#include "raster/Colour.h"
#include "support/OverlayScene.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QRgb kOrange = qRgb(255, 140, 0);
const QRgb kSilver = Colour::toQRgb(Colour::Silver);
const QRgb kWhite = Colour::toQRgb(Colour::White);
const QRgb kGrey = Colour::toQRgb(Colour::Grey);

// The sample button image (12 x 10, transparent at its origin) placed at (x, y): its
// transparent pixel on silver, its first and last orange ones beside and opposite it.
void expectButtonImageAt(const QImage &image, int x, int y)
{
    EXPECT_EQ(image.pixel(x, y), kSilver);
    EXPECT_EQ(image.pixel(x + 1, y), kOrange);
    EXPECT_EQ(image.pixel(x + 11, y + 9), kOrange);
}

} // namespace

// Latched into the buffer with dark legs and a light hypotenuse, the form untouched until the
// buffer is copied to it; raised on the form the other way round. Other widths draw as 1280.
TEST(FooterButton, LatchedAndRaisedAtEachWidth)
{
    const struct
    {
        qint16 width, footer;
        QPoint down, up, hypotenuse;
    } looks[] = { { 800, 537, { 3, 540 }, { 2, 539 }, { 41, 537 } },
        { 1280, 916, { 5, 921 }, { 4, 920 }, { 66, 916 } },
        { 1024, 916, { 5, 921 }, { 4, 920 }, { 66, 916 } } };
    for (const auto &l : looks) {
        SCOPED_TRACE(l.width);
        OverlayScene scene(l.width);
        scene.context().FooterTop = l.footer; // 1024 has no footer of its own
        scene.setScreenshot(l.width == 800 ? 800 : 1280, l.width == 800 ? 600 : 1024);
        scene.prepareBuffers();
        scene.setButtonImage(OverlayScene::sampleButton());
        MainForm &m = scene.Main();
        EXPECT_EQ(scene.buttonImageFile(),
            scene.context().VisuPfad
                + QStringLiteral("Standard\\KalvoFußzeile\\KalvoFußzeileHelp_%1.gif").arg(l.width));

        DrawHelpButtonDown(m, *m.DunkelPic, 1);
        const QImage &buffer = m.DunkelPic->image();
        expectButtonImageAt(buffer, l.down.x(), l.down.y());
        EXPECT_EQ(buffer.pixel(0, l.footer), kGrey);
        EXPECT_EQ(buffer.pixel(l.hypotenuse), kWhite);
        EXPECT_EQ(buffer.pixel(l.down + QPoint(15, 5)), kSilver);
        EXPECT_EQ(m.image().pixel(l.down + QPoint(1, 0)), kGrey);

        DrawHelpButtonUp(m, 1);
        expectButtonImageAt(m.image(), l.up.x(), l.up.y());
        EXPECT_EQ(m.image().pixel(0, l.footer), kWhite);
        EXPECT_EQ(m.image().pixel(l.hypotenuse), kGrey);
    }
}

TEST(FooterButton, MissingOrBrokenImageLeavesTheFrameWithoutImage)
{
    OverlayScene scene(800);
    scene.setScreenshot(800, 600);
    scene.prepareBuffers();
    MainForm &m = scene.Main();
    // Button numbers other than 1 draw nothing, not even the frame.
    const QImage before = m.DunkelPic->image().copy();
    const QImage formBefore = m.image().copy();
    for (qint16 button : { qint16(0), qint16(2), qint16(-1) }) {
        DrawHelpButtonDown(m, *m.DunkelPic, button);
        DrawHelpButtonUp(m, button);
    }
    EXPECT_EQ(m.DunkelPic->image(), before);
    EXPECT_EQ(m.image(), formBefore);

    // Missing file: the frame and triangle are drawn, nothing else, no error.
    EXPECT_NO_THROW(DrawHelpButtonDown(m, *m.DunkelPic, 1));
    EXPECT_EQ(m.DunkelPic->image().pixel(0, 537), kGrey);
    EXPECT_EQ(m.DunkelPic->image().pixel(5, 545), kSilver);

    // A file that is no picture: the same, also after it was drawn whole.
    scene.setButtonImage(OverlayScene::sampleButton());
    DrawHelpButtonUp(m, 1);
    scene.folder.write(QStringLiteral("Visu/Standard/KalvoFußzeile/KalvoFußzeileHelp_800.gif"),
        "GIF89a not really");
    EXPECT_NO_THROW(DrawHelpButtonUp(m, 1));
    EXPECT_EQ(m.image().pixel(0, 537), kWhite);
    EXPECT_EQ(m.image().pixel(5, 545), kSilver);
}
