#pragma once

class MainForm;
struct CheckReport;

// Findings in the overlay's own placement of the help symbols, read from the
// form after PlaceHelpSymbols: a symbol the screen's edges pushed far from
// its control, a symbol covered by elements stacked above it (another symbol,
// a control's picture) so that the operator cannot click it, and two symbols
// on the same spot.
void checkPlacement(MainForm &Main, CheckReport &report);
