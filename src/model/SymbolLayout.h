#pragma once

#include "semantics/Twips.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

struct ScreenContext;

// Where the overlay marks each described control, as plain data in pixels:
// computed from the description and the layout values without a widget, so
// that the overlay's view and the help author's check place the same symbols.
struct EntryPlacement
{
    // Footer entries and entries whose container was not found get nothing.
    bool shown = false;
    // The control's area, showing the dimmed screenshot's `source`.
    QRect bild;
    QRect source;
    // The help symbol beside or on the control, for an entry naming a page,
    // showing the dimmed screenshot's `symbolSource` under the symbol.
    std::optional<QRect> symbol;
    QRect symbolSource;
    // The entries brought to the front, in this order, once this entry is
    // placed: the entry itself, then every entry nested in it.
    std::vector<int> raised;
};

// The placements of entries 0 to LastEntry. Entries are placed from the last
// to the first, each above the ones placed before it, and nested controls
// above their containers. `form` converts twips to the form's pixels as its
// elements do (rounded to the nearest pixel, halves to even); `symbolSize`
// is the symbol's size and `symbolHome` where a symbol stays when its
// alignment does not move it. A value beyond the classic number ranges is a
// RuntimeError (Overflow), raised before anything is placed.
std::vector<EntryPlacement> layOutSymbols(
    const ScreenContext &context, const TwipsScale &form, QSize symbolSize, QPoint symbolHome);

// The shown entries from the bottom of the stack to the top, as their
// bring-to-front orders leave them; each entry's control picture lies
// directly below its symbol.
std::vector<int> stackedBottomUp(const std::vector<EntryPlacement> &placed);
