#include "overlay/OverlayBuild.h"

#include "os/Services.h"
#include "overlay/Dimming.h"
#include "overlay/MainForm.h"
#include "overlay/SymbolPlacement.h"
#include "semantics/Arithmetic.h"

namespace {

constexpr qint16 kProbeLevel = 255;
constexpr qint32 kSlowMachine = 100; // ms for one pass
constexpr qint16 kSlowLevel = 100;
constexpr qint32 kStepDuration = 31; // ms, pause plus drawing
constexpr qint16 kSteps = 15;

} // namespace

qint32 fadeStepDelay(qint32 probeTime)
{
    const qint32 delay = Arithmetic::subLong(kStepDuration, probeTime);
    return delay < 1 ? 1 : delay;
}

void BuildOverlay(MainForm &Main)
{
    BuildOverlay(Main, DimScreen);
}

void BuildOverlay(MainForm &Main, const DimmingPass &dim)
{
    ScreenContext &context = Main.context();

    // The picture's HIMETRIC size taken as twips makes the form about 1.76
    // times the screenshot: it reaches past the screen's right and bottom edges.
    Main.setWidth(context.ScreenPicture.Width);
    Main.setHeight(context.ScreenPicture.Height);
    Main.OriginalPic->setPicture(context.ScreenPicture);
    Main.DunkelPic->setWidth(Main.OriginalPic->Width());
    Main.DunkelPic->setHeight(Main.OriginalPic->Height());
    // The probe below times one dimming pass, not the allocation of the
    // buffers it draws into (which can take far longer when memory is short).
    PrepareDimming(Main);

    TickClock &clock = *Main.services().clock;
    const quint32 before = clock.tickCount();
    dim(Main, kProbeLevel);
    const quint32 after = clock.tickCount();
    const qint32 probeTime = Arithmetic::tickDifference(before, after);

    if (probeTime >= kSlowMachine) {
        Main.DunkelPic->Cls();
        dim(Main, kSlowLevel);
        Main.setVisibleProperty(true);
        Main.services().events->doEvents();
    } else {
        Main.setVisibleProperty(true);
        Main.services().events->doEvents();
        // From the event loop, which paints and talks to the window system
        // between the steps; the operator's touches wait until the symbols
        // are there.
        Main.services().events->runSteps(kSteps, fadeStepDelay(probeTime), [&](qint16 n) {
            Main.DunkelPic->Cls();
            dim(Main, static_cast<qint16>(255 - 10 * n));
            Main.Refresh();
        });
    }

    PlaceHelpSymbols(Main);
}
