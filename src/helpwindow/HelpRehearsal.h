#pragma once

#include "browser/BrowserView.h"

// The first help window of a run is slower than any later one, by the time the
// graphics driver takes to compile the programs that put the window and its
// page together on the screen (compiled once per run: the compiled programs
// are kept in the run's scratch folder, never across runs). With a software
// renderer that is most of a bare browser's start. So, while the operator
// looks for a symbol, a help window with its engine view is shown once outside
// every screen and closed again: the operator's first page then finds the
// programs compiled. (It loads nothing: the help scheme's folder is the open
// page's, and the operator may have opened one by now.)
//
// Only the X11 display can place a window out of sight; elsewhere nothing is
// shown.
class ScreenMetrics;

void rehearseHelpWindow(ScreenMetrics &screen, const BrowserFactory &browser);

// How long the rehearsal's window stays: its first frames have long been
// drawn by then, on one slow core too.
inline constexpr int kRehearsalMs = 2000;
