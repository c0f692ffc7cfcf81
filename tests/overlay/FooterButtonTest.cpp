#include "overlay/FooterButton.h"
#include "raster/Colour.h"
#include "semantics/RuntimeError.h"
#include "support/OverlayScene.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QRgb kOrange = qRgb(255, 140, 0);
const QRgb kSilver = Colour::toQRgb(Colour::Silver);
const QRgb kWhite = Colour::toQRgb(Colour::White);
const QRgb kGrey = Colour::toQRgb(Colour::Grey);

// The sample button image (12 x 10, transparent at its origin) placed at (x, y).
void expectButtonImageAt(const QImage &image, int x, int y)
{
    EXPECT_EQ(image.pixel(x, y), kSilver) << "transparent pixel on silver";
    EXPECT_EQ(image.pixel(x + 1, y), kOrange);
    EXPECT_EQ(image.pixel(x + 11, y + 9), kOrange);
    EXPECT_NE(image.pixel(x + 12, y + 9), kOrange);
    EXPECT_NE(image.pixel(x + 11, y + 10), kOrange);
    EXPECT_NE(image.pixel(x - 1, y + 1), kOrange);
}

} // namespace

TEST(FooterButton, LatchedAndRaisedOnTheNarrowScreen)
{
    OverlayScene scene(800);
    scene.setScreenshot(800, 600);
    scene.prepareBuffers();
    scene.setButtonImage(OverlayScene::sampleButton());
    MainForm &m = scene.Main();
    EXPECT_EQ(scene.buttonImageFile(),
        scene.context().VisuPfad
            + QStringLiteral("Standard\\KalvoFußzeile\\KalvoFußzeileHelp_800.gif"));

    DrawHelpButtonDown(m, *m.DunkelPic, 1);
    const QImage &buffer = m.DunkelPic->image();
    expectButtonImageAt(buffer, 3, 540);
    EXPECT_EQ(buffer.pixel(0, 537), kGrey); // latched: dark legs
    EXPECT_EQ(buffer.pixel(41, 537), kWhite); // light hypotenuse
    EXPECT_EQ(buffer.pixel(20, 545), kSilver);
    EXPECT_EQ(m.ZwischenPic->BackColor, Colour::Silver);
    EXPECT_EQ(m.ZwischenPic->ScaleWidth(), 12);

    // The form is untouched until the buffer is copied to it.
    EXPECT_EQ(m.image().pixel(0, 537), Colour::toQRgb(Colour::Grey));
    EXPECT_EQ(m.image().pixel(5, 545), Colour::toQRgb(Colour::Grey));

    DrawHelpButtonUp(m, 1);
    expectButtonImageAt(m.image(), 2, 539);
    EXPECT_EQ(m.image().pixel(0, 537), kWhite); // raised: light legs
    EXPECT_EQ(m.image().pixel(41, 537), kGrey);
}

TEST(FooterButton, WideAndOtherWidthsUseTheWidePositions)
{
    for (qint16 width : { qint16(1280), qint16(1024) }) {
        OverlayScene scene(width);
        scene.context().FooterTop = 916; // 1024 has no footer of its own
        scene.setScreenshot(1280, 1024);
        scene.prepareBuffers();
        scene.setButtonImage(OverlayScene::sampleButton());
        MainForm &m = scene.Main();
        SCOPED_TRACE(width);

        DrawHelpButtonDown(m, m, 1);
        expectButtonImageAt(m.image(), 5, 921);
        DrawHelpButtonUp(m, 1);
        expectButtonImageAt(m.image(), 4, 920);
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
    EXPECT_EQ(m.ZwischenPic->BackColor, Colour::rgb(224, 224, 224));

    // Missing file: the frame and triangle are drawn, nothing else, no error.
    EXPECT_NO_THROW(DrawHelpButtonDown(m, *m.DunkelPic, 1));
    EXPECT_EQ(m.DunkelPic->image().pixel(0, 537), kGrey);
    EXPECT_EQ(m.DunkelPic->image().pixel(5, 545), kSilver);
    EXPECT_EQ(m.DunkelPic->image().pixel(50, 545), qRgb(0, 0, 0));

    // A file that is no picture: the same.
    scene.setButtonImage(OverlayScene::sampleButton());
    QFile broken(QString(scene.buttonImageFile()).replace(QLatin1Char('\\'), QLatin1Char('/')));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("GIF89a not really");
    broken.close();
    EXPECT_NO_THROW(DrawHelpButtonUp(m, 1));
    EXPECT_EQ(m.image().pixel(0, 537), kWhite);
    EXPECT_EQ(m.image().pixel(5, 545), kSilver);
    EXPECT_TRUE(scene.fake.messageBox.errors.isEmpty());
}
