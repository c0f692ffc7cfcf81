#include "overlay/OverlayBuild.h"
#include "overlay/Dimming.h"
#include "support/OverlayScene.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

// Builds the overlay with the real dimming pass, recording each pass's level, whether the
// form was shown and pixel (400, 300) of the window on the screen before it, with the
// tick counter reading `start` before the probe and `end` after it.
struct BuildRun
{
    BuildRun(quint32 start, quint32 end)
    {
        scene.setScreenshot(800, 600);
        scene.setButtonImage(OverlayScene::sampleButton());
        scene.setSymbolImage(OverlayScene::sampleSymbol());
        scene.fake.clock.ticks = start;
        scene.fake.clock.readings = { end };
        BuildOverlay(scene.Main(), [this](MainForm &m, qint16 level) {
            const QImage grab = m.isVisible()
                ? QGuiApplication::primaryScreen()
                      ->grabWindow(m.window()->winId(), 400, 300, 1, 1)
                      .toImage()
                : QImage();
            onScreen.push_back(grab.isNull() ? 0 : grab.pixel(0, 0) | 0xFF000000);
            levels.push_back(level);
            shown.push_back(m.isVisible());
            DimScreen(m, level);
        });
    }

    OverlayScene scene { 800 };
    std::vector<qint16> levels;
    std::vector<bool> shown;
    std::vector<QRgb> onScreen;
};

const std::vector<qint16> kFadeLevels
    = { 255, 245, 235, 225, 215, 205, 195, 185, 175, 165, 155, 145, 135, 125, 115, 105 };

} // namespace

// A probe pass under 100 ms fades in sixteen passes to 105, pausing 31 ms
// less the probe (at least 1) between them; a slower one shows 100 at once.
// The tick counter may wrap, unsigned or signed, during the probe.
TEST(BuildOverlay, FadeOrFinalLevelByTheProbeTime)
{
    struct Probe
    {
        quint32 start, end;
        qint32 pause; // 0: the slow path
    };
    const Probe probes[] = { { 5000, 5000, 31 }, { 5000, 5001, 30 }, { 5000, 5030, 1 },
        { 5000, 5099, 1 }, { 0xFFFFFFF0u, 0x10u, 1 }, { 0x7FFFFFF0u, 0x80000010u, 1 },
        { 5000, 5100, 0 }, { 0xFFFFFFC0u, 0x56u, 0 } };
    for (const Probe &p : probes) {
        SCOPED_TRACE(p.end - p.start);
        BuildRun run(p.start, p.end);
        const bool fast = p.pause > 0;
        const MainForm &m = run.scene.Main();
        EXPECT_EQ(run.levels, (fast ? kFadeLevels : std::vector<qint16> { 255, 100 }));
        EXPECT_EQ(run.scene.fake.events.pauses, std::vector<qint32>(fast ? 15 : 0, p.pause));
        // Shown after the probe: before the first pause, or after the final level.
        EXPECT_FALSE(run.shown[0]);
        EXPECT_EQ(run.shown[1], fast);
        EXPECT_TRUE(m.isVisible());
        EXPECT_EQ(run.scene.fake.events.calls, 1);
        // The HIMETRIC size taken as twips makes the form about 1.76 times the
        // screenshot; the final frame is the screenshot at the final level, the
        // button undimmed.
        EXPECT_EQ(m.geometry(), QRect(0, 0, 1411, 1058));
        EXPECT_EQ(QSize(m.DunkelPic->ScaleWidth(), m.DunkelPic->ScaleHeight()), QSize(800, 600));
        EXPECT_FALSE(m.OriginalPic->Visible() || m.DunkelPic->Visible());
        EXPECT_EQ(m.image().pixel(400, 300),
            OverlayScene::dimmedPixel(OverlayScene::screenshotPixel(400, 300), fast ? 105 : 100));
        EXPECT_EQ(m.image().pixel(4, 541), qRgb(255, 140, 0));
        // Every step reached the screen before the next one, although the
        // window system had not shown the window yet when events were last
        // handled (the fake DoEvents handles none).
        for (size_t step = 1; step + 1 < run.levels.size(); ++step)
            EXPECT_EQ(run.onScreen[step + 1],
                OverlayScene::dimmedPixel(
                    OverlayScene::screenshotPixel(400, 300), run.levels[step]))
                << "step " << step;
    }
}
