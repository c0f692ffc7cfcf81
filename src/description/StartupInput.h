#pragma once

#include "semantics/RuntimeError.h"

#include <QString>
#include <optional>

class ScreenMetrics;
class TavlinModule;
struct ScreenContext;

// What start-up reads before the overlay is built, from TempPfad, in two
// steps: the screenshot, then the description with the layout values and the
// containers. Each step's failure is kept as a value, so that the overlay can
// end with the first one and the check can report them all and carry on.
// What the description's reader says on the way waits in the module's notices.

struct ScreenshotInput
{
    bool found = false;
    std::optional<RuntimeError> error; // found, but not a picture
};

// With the screen's twips per pixel, which the picture's size is given in.
ScreenshotInput readScreenshot(ScreenContext &context, ScreenMetrics &screen);

struct DescriptionInput
{
    bool found = false;
    std::optional<RuntimeError> containerError; // a place beyond the 16-bit numbers
};

// An installation folder given in place of VisuPfad, as VisuPfad: ending in
// a separator, as paths are joined to it.
QString visuPfadOf(const QString &folder);

// A `visuFolder` given stands for the description's VisuPfad.
DescriptionInput readDescriptionInput(
    ScreenContext &context, TavlinModule &module, const QString &visuFolder = QString());

// The layout values chosen by the display width, and WidthFactor.
void applyLayoutValues(ScreenContext &context);
