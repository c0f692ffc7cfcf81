#pragma once

#include <vector>

struct CheckReport;
struct EntryPlacement;
struct ScreenContext;

// Findings in the overlay's own placement of the help symbols (its layout, as
// the overlay shows it): a symbol the screen's edges pushed far from its
// control, a symbol covered by elements stacked above it (another symbol, a
// control's picture) so that the operator cannot click it, and two symbols
// on the same spot.
void checkPlacement(
    const ScreenContext &context, const std::vector<EntryPlacement> &placed, CheckReport &report);
