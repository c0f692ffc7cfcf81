#pragma once

#include "model/SymbolLayout.h"

#include <QString>

class MainForm;
class ScreenMetrics;
struct ScreenContext;

// The help symbol image beside the program: App.Path & "\Tavlin_" & DispHInt & ".gif".
QString symbolImagePath(const QString &appPath, const ScreenContext &context);

// Marks every described control: a Bild element over the control showing the
// dimmed screenshot there and, when the entry names a help page, a Symbol
// element with the help symbol beside or on it, kept on the screen. Nested
// controls are stacked above their containers; footer entries and entries
// whose container was not found get neither. A missing or unreadable symbol
// image is a run-time error naming the file.
void PlaceHelpSymbols(MainForm &Main);

// The layout PlaceHelpSymbols shows: loads the symbol image (the same
// errors) and sizes the symbol template to it.
std::vector<EntryPlacement> symbolLayout(MainForm &Main);

// The same layout without a form, for the symbol image in `appPath` and the
// screen's twips per pixel as a form made now would use them.
std::vector<EntryPlacement> symbolLayout(
    const ScreenContext &context, const QString &appPath, ScreenMetrics &screen);
