#pragma once

#include "demovisu/DemoLayout.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <vector>

// What Tavlin should show on a demo screen, worked out from the demo's own
// layout (not from the description file) at the layout's twips per pixel: where each
// help symbol stands, how the symbols and the controls' background pieces
// are stacked, and the whole overlay after the fade. The end-to-end tests
// compare the real screen with it; the headless demo takes the points it
// clicks from it.

struct DemoOverlayElement
{
    int entry = -1; // the control's index in the layout (its section number)
    bool symbol = false; // a help symbol; otherwise the control's background piece
    // The first symbol element when the first entry has no help page: it
    // keeps its stored visibility and stands, never drawn into (plain
    // silver), at its stored place in the symbol image's size.
    bool blank = false;
    QRect rect; // screen pixels
};

// The symbol of entry `entry` for symbols of `symbolSize` pixels; a null
// rectangle when the entry gets none (footer, empty tag).
QRect demoSymbolRect(const DemoLayout &layout, int entry, QSize symbolSize);

// The visible elements from back to front, stacked by containment.
std::vector<DemoOverlayElement> demoOverlayElements(const DemoLayout &layout, QSize symbolSize);

// One colour channel darkened to `level` (0 to 255) over black.
int demoDimmed(int channel, int level);
QImage demoDimmedScreen(const QImage &screenshot, int level);

// The screen after the fade: the screenshot at `level` with every symbol
// drawn over it (cyan and transparent pixels of the image show the darkened
// screenshot). The footer help button is left out: see demoHelpButtonBox.
QImage demoExpectedOverlay(
    const QImage &screenshot, const DemoLayout &layout, const QImage &symbolImage, int level);

// A box around the footer help button in its corner, which tests look at
// apart from the rest.
QRect demoHelpButtonBox(const DemoLayout &layout);

// The first entry whose control has this Name (and Index, -1: none).
int demoEntry(const DemoLayout &layout, const QString &name, int index = -1);

// The centre of the symbol of the first control of `names` ("Name" or
// "Name(Index)") whose centre no other element covers, and its entry; (-1, -1)
// when there is none.
QPoint demoClickableSymbol(
    const DemoLayout &layout, const QStringList &names, QSize symbolSize, int *entry = nullptr);
// Controls whose help page exists, and the one whose page is missing.
QStringList demoPageSymbols();
QStringList demoMissingPageSymbols();
