#pragma once

#include <QtGlobal>
#include <functional>

class MainForm;

// Builds the overlay: sizes the form from the screenshot, times one dimming
// pass, shows the form and fades it in from the event loop (or, on a machine that needs 100 ms or
// more for one pass, shows it at once at its final darkness), then places the
// help symbols.
void BuildOverlay(MainForm &Main);

// The same with the dimming pass given, so that tests and benchmarks can watch
// or time each pass.
using DimmingPass = std::function<void(MainForm &, qint16 level)>;
void BuildOverlay(MainForm &Main, const DimmingPass &dim);

// The pause before each fade step for a probe time in milliseconds: 31 ms per
// step including the drawing, at least 1 ms.
qint32 fadeStepDelay(qint32 probeTime);
