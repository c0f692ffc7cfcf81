// The program started on a 1280 x 1024 display with a screenshot and a
// description of a dozen controls: every step of the fade must reach the
// screen, and after the fade the screen must show the screenshot darkened to
// level 105, the footer help button undimmed in its latched look, and every
// help symbol where the placement rules put it, stacked by containment.

#include "E2eHarness.h"

#include <QProcess>
#include <QStringList>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr int kLevel = 105; // the fade's last level
const QRgb kSymbolColour = qRgb(200, 0, 150);
const QRgb kButtonColour = qRgb(255, 140, 0);
const QRgb kCyan = qRgb(0, 255, 255);
const QRect kFooterCorner(0, 912, 70, 78); // compared pixel by pixel apart

QRgb screenshotPixel(int x, int y)
{
    return qRgb((x * 3 + y * 5) % 256, (x * 7 + 31) % 256, (y * 11 + x) % 240);
}

int dim(int channel)
{
    return int(std::lround(channel * kLevel / 255.0));
}

QImage screenshot()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, screenshotPixel(x, y));
    return image;
}

QImage dimmedScreenshot()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const QRgb p = screenshotPixel(x, y);
            image.setPixel(x, y, qRgb(dim(qRed(p)), dim(qGreen(p)), dim(qBlue(p))));
        }
    return image;
}

// 24 x 24: cyan in the top-left 3 x 3 corner, one transparent pixel at (12, 12).
QImage symbolImage()
{
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(kSymbolColour);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, kCyan);
    image.setPixel(12, 12, qRgba(0, 0, 0, 0));
    return image;
}

bool symbolOpaque(int x, int y)
{
    return !(x < 3 && y < 3) && !(x == 12 && y == 12);
}

// 30 x 20 orange, transparent at (0, 0).
QImage buttonImage()
{
    QImage image(30, 20, QImage::Format_ARGB32);
    image.fill(kButtonColour);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    return image;
}

QByteArray description(const QString &visu)
{
    // Twips at 15 per pixel; "Fußzeile" in Windows-1252.
    QByteArray text
        = "[Global]\r\nDispHInt=1280\r\nVisuPfad=" + visu.toLatin1() + "\r\nLanguage=1\r\n";
    text += "[0]\r\nName=Fu\xDFzeile\r\nLeft=0\r\nTop=13740\r\nWidth=19200\r\nHeight=1620\r\n"
            "Tag=Footer\r\nAlignment=1\r\n";
    text += "[1]\r\nName=Frame1\r\nLeft=1500\r\nTop=1500\r\nWidth=6000\r\nHeight=4500\r\n"
            "Tag=Frame\r\nAlignment=1\r\n";
    text += "[2]\r\nName=Button1\r\nContainerName=Frame1\r\nLeft=600\r\nTop=600\r\nWidth=3000\r\n"
            "Height=600\r\nTag=X=10;Pump\r\n";
    text += "[3]\r\nName=Label1\r\nContainerName=Button1\r\nLeft=2400\r\nTop=150\r\nWidth=600\r\n"
            "Height=300\r\nTag=Y=C;Lbl\r\nAlignment=4\r\n";
    text += "[4]\r\nName=Centre\r\nLeft=9000\r\nTop=3000\r\nWidth=4500\r\nHeight=1500\r\n"
            "Tag=Mid\r\nAlignment=7\r\n";
    text += "[5]\r\nName=LeftL\r\nLeft=3000\r\nTop=9000\r\nWidth=3000\r\nHeight=900\r\n"
            "Tag=X=L;Y=C;Page5\r\n";
    text += "[6]\r\nName=Template\r\nLeft=7500\r\nTop=9000\r\nWidth=1500\r\nHeight=600\r\n"
            "Tag=Tmpl\r\nAlignment=0\r\n";
    text += "[7]\r\nName=EdgeLeft\r\nLeft=60\r\nTop=6000\r\nWidth=1500\r\nHeight=600\r\n"
            "Tag=E1\r\nAlignment=1\r\n";
    text += "[8]\r\nName=EdgeRight\r\nLeft=18600\r\nTop=6000\r\nWidth=600\r\nHeight=600\r\n"
            "Tag=E2\r\nAlignment=4\r\n";
    text += "[9]\r\nName=EdgeTop\r\nLeft=12000\r\nTop=60\r\nWidth=1500\r\nHeight=600\r\nTag=E3\r\n";
    text += "[10]\r\nName=EdgeBottom\r\nLeft=12000\r\nTop=15150\r\nWidth=1500\r\nHeight=300\r\n"
            "Tag=Y=C;E4\r\nAlignment=1\r\n";
    text += "[11]\r\nName=NoTag\r\nLeft=15000\r\nTop=9000\r\nWidth=1500\r\nHeight=600\r\n";
    text += "[12]\r\nName=Orphan\r\nContainerName=Missing\r\nLeft=15000\r\nTop=12000\r\n"
            "Width=1500\r\nHeight=600\r\nTag=Lost\r\n";
    return text;
}

struct Element
{
    bool symbol;
    QRect rect; // pixels
};

// Back to front, as the stacking by containment leaves them: entries from the
// last to the first, and entries 3 (in 2) and 2 (in 1) brought above entry 1
// again, the lower-numbered on top. Entries 0 (footer), 12 (container not
// found) are hidden, entry 11 has no symbol.
std::vector<Element> elementsBackToFront()
{
    auto bild = [](int x, int y, int w, int h) { return Element { false, QRect(x, y, w, h) }; };
    auto symbol = [](int x, int y) { return Element { true, QRect(x, y, 24, 24) }; };
    return {
        bild(1000, 600, 100, 40), // 11
        bild(800, 1010, 100, 20), symbol(789, 1000), // 10: centred, pushed up from the bottom
        bild(800, 4, 100, 40), symbol(789, 0), // 9: no Alignment key, pushed down
        bild(1240, 400, 40, 40), symbol(1256, 389), // 8: right edge, pushed left
        bild(4, 400, 100, 40), symbol(0, 389), // 7: overhang left, pushed right
        bild(500, 600, 100, 40), symbol(129, 589), // 6: template Left 1935 twips
        bild(200, 600, 200, 60), symbol(200, 618), // 5: "L" and centred
        bild(600, 200, 300, 100), symbol(738, 189), // 4: centred horizontally
        bild(100, 100, 400, 300), symbol(89, 89), // 1: left edge with overhang
        bild(300, 150, 40, 20), symbol(327, 148), // 3: right edge, centred
        bild(140, 140, 200, 40), symbol(150, 129), // 2: X=10, in front of 3's symbol
    };
}

QImage expectedScreen()
{
    const QImage dimmed = dimmedScreenshot(); // what every Bild shows, too
    QImage screen = dimmed.copy();
    const QImage symbol = symbolImage();
    for (const Element &e : elementsBackToFront()) {
        for (int y = e.rect.top(); y <= e.rect.bottom(); ++y)
            for (int x = e.rect.left(); x <= e.rect.right(); ++x) {
                if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
                    continue;
                const int sx = x - e.rect.left(), sy = y - e.rect.top();
                if (!e.symbol)
                    screen.setPixel(x, y, dimmed.pixel(x, y));
                else if (symbolOpaque(sx, sy))
                    screen.setPixel(x, y, symbol.pixel(sx, sy));
                else
                    screen.setPixel(x, y, dimmed.pixel(x, y));
            }
    }
    return screen;
}

int mismatches(const QImage &actual, const QImage &expected, QStringList *first = nullptr)
{
    if (actual.size() != expected.size())
        return -1;
    int count = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            if (kFooterCorner.contains(x, y))
                continue;
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                if (first && count < 8)
                    *first << QStringLiteral("(%1,%2) %3 not %4")
                                  .arg(x)
                                  .arg(y)
                                  .arg(actual.pixel(x, y), 8, 16)
                                  .arg(expected.pixel(x, y), 8, 16);
                ++count;
            }
        }
    return count;
}

} // namespace

TEST(OverlayOnScreen, DarkenedScreenshotLatchedButtonAndEverySymbol)
{
    ASSERT_EQ(screenTwipsPerPixel(), 15.0f) << "the expected positions assume 96 dots per inch";
    ProgramRun run;
    ASSERT_TRUE(run.ready());
    run.writeScreenshot(screenshot());
    run.writeDescription(description(run.visuFolder()));
    run.writeImage(QStringLiteral("bin/Tavlin_1280.gif"), symbolImage());
    run.writeImage(
        QStringLiteral("visu/Standard/KalvoFußzeile/KalvoFußzeileHelp_1280.gif"), buttonImage());
    const QImage expected = expectedScreen();

    ASSERT_TRUE(run.start());
    // The fade at a pixel whose green is 255 in the screenshot, so that its
    // green is the level: from the probe's full brightness every step reaches
    // the screen, each darker than the last, down to 105.
    const QRgb faded = expected.pixel(32, 300);
    const QList<QRgb> seen = ProgramRun::watchPixel(
        32, 300, [&](QRgb now) { return now == faded; }, 20000);
    QList<int> levels; // from the last back to the probe's frame
    for (auto it = seen.crbegin(); it != seen.crend(); ++it) {
        const int level = qGreen(*it);
        if (level == 255 || (!levels.isEmpty() && level <= levels.last()))
            break;
        levels << level;
    }
    EXPECT_GE(levels.size(), 10);
    EXPECT_EQ(levels.value(0), kLevel);

    bool accepted = false;
    const QImage screen = ProgramRun::waitForScreen(
        [&](const QImage &grab) { return mismatches(grab, expected) == 0; }, 20000, &accepted);
    EXPECT_EQ(run.process().state(), QProcess::Running)
        << "the overlay stays until the operator ends it";
    run.kill();

    QStringList first;
    const int wrong = mismatches(screen, expected, &first);
    EXPECT_TRUE(accepted) << wrong << " pixels differ, first: "
                          << first.join(QStringLiteral("; ")).toStdString() << "; screen kept as "
                          << ProgramRun::keepForInspection(
                                 screen, QStringLiteral("tavlin-e2e-overlay.png"))
                                 .toStdString();
    ASSERT_EQ(screen.size(), QSize(kWidth, kHeight));

    // The footer help button, latched and undimmed, on its silver triangle.
    const QImage dimmed = dimmedScreenshot();
    const QRgb grey = qRgb(128, 128, 128), white = qRgb(255, 255, 255),
               silver = qRgb(192, 192, 192);
    EXPECT_EQ(screen.pixel(0, 916), grey); // top leg
    EXPECT_EQ(screen.pixel(65, 916), grey);
    EXPECT_EQ(screen.pixel(1, 978), grey); // inner left leg ...
    EXPECT_EQ(screen.pixel(1, 979), white); // ... ends where the inner hypotenuse starts
    EXPECT_EQ(screen.pixel(66, 916), white); // outer hypotenuse
    EXPECT_EQ(screen.pixel(0, 982), white);
    EXPECT_EQ(screen.pixel(67, 915), dimmed.pixel(67, 915)); // its end point stays unpainted
    EXPECT_EQ(screen.pixel(3, 919), silver);
    EXPECT_EQ(screen.pixel(5, 921), silver); // transparent image pixel on silver
    EXPECT_EQ(screen.pixel(6, 921), kButtonColour);
    EXPECT_EQ(screen.pixel(34, 940), kButtonColour);
    EXPECT_EQ(screen.pixel(35, 940), silver);
    EXPECT_EQ(screen.pixel(60, 960), dimmed.pixel(60, 960));
}

TEST(OverlayOnScreen, WithoutScreenshotTheProgramEndsSilently)
{
    ProgramRun run;
    ASSERT_TRUE(run.ready());
    run.writeDescription(description(run.visuFolder()));
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(run.waitForExit(15000));
    EXPECT_EQ(run.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.process().exitCode(), 0);
}

TEST(OverlayOnScreen, MissingSymbolImageShowsTheRunTimeErrorThenEnds)
{
    ProgramRun run;
    ASSERT_TRUE(run.ready());
    run.writeScreenshot(screenshot());
    run.writeDescription(description(run.visuFolder()));
    ASSERT_TRUE(run.start());

    // The overlay comes up, then the message box on top of it; the program
    // waits for it to be confirmed.
    const QImage dimmedCorner = dimmedScreenshot().copy(600, 800, 1, 1);
    bool overlayUp = false;
    ProgramRun::waitForScreen(
        [&](const QImage &grab) { return grab.pixel(600, 800) == dimmedCorner.pixel(0, 0); }, 20000,
        &overlayUp);
    EXPECT_TRUE(overlayUp);
    QThread::msleep(500);
    EXPECT_EQ(run.process().state(), QProcess::Running);

    EXPECT_TRUE(ProgramRun::xdotool({ QStringLiteral("key"), QStringLiteral("Return") }));
    EXPECT_TRUE(run.waitForExit(15000)) << "the message box should end the program when confirmed";
}
