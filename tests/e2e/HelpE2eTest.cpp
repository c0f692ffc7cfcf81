// The road of a help request in the real program on a 1280 x 1024 display: a
// click on a help symbol with the real pointer opens the help page in the
// centred help window, the window is dragged by its handle and closed by its
// button, and a click on the footer help button ends the program by itself.

#include "E2eHarness.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QRgb kPage = qRgb(0, 255, 0);
const QRgb kWindowBlue = qRgb(192, 192, 255);
const QRgb kSymbol = qRgb(200, 0, 150);
const QRgb kScreen = qRgb(100, 140, 180);

QImage symbolImage()
{
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(kSymbol);
    return image;
}

// The first pixel of the symbol's colour, scanning rows from the top.
QPoint findSymbol(const QImage &screen)
{
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) == kSymbol)
                return QPoint(x, y);
    return QPoint(-1, -1);
}

} // namespace

TEST(HelpOnScreen, SymbolOpensThePageCentredDragCloseThenFooterEnds)
{
    ASSERT_EQ(screenTwipsPerPixel(), 15.0f) << "the expected positions assume 96 dots per inch";
    ProgramRun run;
    ASSERT_TRUE(run.ready());
    QImage screenshot(1280, 1024, QImage::Format_RGB32);
    screenshot.fill(kScreen);
    run.writeScreenshot(screenshot);
    run.writeDescription("[Global]\r\nDispHInt=1280\r\nVisuPfad=" + run.visuFolder().toLatin1()
        + "\r\nLanguage=1\r\n[0]\r\nName=Pump\r\nLeft=6000\r\nTop=4500\r\nWidth=3000\r\n"
          "Height=1500\r\nTag=Conveyor\r\nAlignment=1\r\n");
    run.writeImage(QStringLiteral("bin/Tavlin_1280.gif"), symbolImage());
    // The page in the language folder and, should no language be resolved,
    // where the empty language name leads.
    const QByteArray page = "<html><body bgcolor=\"#00ff00\" style=\"background:#00ff00\">"
                            "<h1>Conveyor</h1></body></html>";
    run.writeFile(QStringLiteral("visu/Program/Help/Tavlin/English/Conveyor.html"), page);
    run.writeFile(QStringLiteral("visu/Program/Help/Tavlin/Conveyor.html"), page);
    // The browser engine plugin beside the program, as installed.
    const QString plugin = QStringLiteral(TAVLIN_BINARY_DIR "/bin/libtavlin_webengine.so");
    if (QFile::exists(plugin)) {
        ASSERT_TRUE(
            QFile::copy(plugin, run.programFolder() + QStringLiteral("/libtavlin_webengine.so")));
    }
    ASSERT_TRUE(run.start());

    bool overlayUp = false;
    const QImage overlay = ProgramRun::waitForScreen(
        [](const QImage &grab) { return findSymbol(grab).x() >= 0; }, 20000, &overlayUp);
    ASSERT_TRUE(overlayUp) << ProgramRun::keepForInspection(
        overlay, QStringLiteral("tavlin-e2e-help-overlay.png"))
                                  .toStdString();
    const QPoint symbol = findSymbol(overlay) + QPoint(12, 12);
    const QRgb dimmedScreen = overlay.pixel(640, 500);

    // Centred: 1280 / 1.3 = 985 and 1024 / 1.3 = 788 pixels at (148, 118).
    ASSERT_TRUE(ProgramRun::clickAt(symbol.x(), symbol.y()));
    bool shown = false;
    QImage screen = ProgramRun::waitForScreen(
        [](const QImage &grab) {
            return grab.pixel(640, 500) == kPage && grab.pixel(150, 120) == kWindowBlue
                && grab.pixel(147, 500) != kWindowBlue && grab.pixel(1132, 905) == kWindowBlue
                && grab.pixel(1133, 905) != kWindowBlue;
        },
        30000, &shown);
    EXPECT_TRUE(shown) << ProgramRun::keepForInspection(
        screen, QStringLiteral("tavlin-e2e-help-window.png"))
                              .toStdString();

    // The handle runs along the bottom, 5 pixels in: drag it 100 left, 60 up.
    ASSERT_TRUE(ProgramRun::pressAt(400, 860));
    ASSERT_TRUE(ProgramRun::xdotool(
        { QStringLiteral("mousemove"), QStringLiteral("350"), QStringLiteral("830") }));
    ASSERT_TRUE(ProgramRun::xdotool(
        { QStringLiteral("mousemove"), QStringLiteral("300"), QStringLiteral("800") }));
    ASSERT_TRUE(ProgramRun::releaseAt(300, 800));
    bool moved = false;
    screen = ProgramRun::waitForScreen(
        [](const QImage &grab) {
            return grab.pixel(50, 60) == kWindowBlue && grab.pixel(47, 300) != kWindowBlue
                && grab.pixel(540, 440) == kPage && grab.pixel(1100, 300) != kPage;
        },
        10000, &moved);
    EXPECT_TRUE(moved) << ProgramRun::keepForInspection(
        screen, QStringLiteral("tavlin-e2e-help-dragged.png"))
                              .toStdString();

    // Ende: 63 pixels square, 5 pixels from the window's right and bottom edges.
    ASSERT_TRUE(ProgramRun::clickAt(48 + 917 + 31, 58 + 724 + 31));
    bool closed = false;
    screen = ProgramRun::waitForScreen(
        [&](const QImage &grab) {
            return grab.pixel(640, 500) == dimmedScreen && grab.pixel(50, 60) != kWindowBlue;
        },
        10000, &closed);
    EXPECT_TRUE(closed) << ProgramRun::keepForInspection(
        screen, QStringLiteral("tavlin-e2e-help-closed.png"))
                               .toStdString();
    EXPECT_EQ(run.process().state(), QProcess::Running);

    // A click on the footer help button ends the program by itself.
    ASSERT_TRUE(ProgramRun::clickAt(5, 925));
    EXPECT_TRUE(run.waitForExit(15000));
    EXPECT_EQ(run.process().exitStatus(), QProcess::NormalExit);
}
