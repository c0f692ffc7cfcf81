#pragma once

#include <QString>

class TavlinModule;
struct ScreenContext;

// The two last start-up steps, which the overlay form provides: building and
// fading in the overlay, then resolving the operator's language.
class StartupSteps
{
public:
    virtual ~StartupSteps() = default;
    virtual void BuildOverlay() = 0;
    virtual void ResolveLanguage() = 0;
};

// Form_Load of the overlay: the start-up sequence, run once before the overlay
// is visible. Ends the program silently when the screenshot or the
// description is missing; any other failure raises a RuntimeError.
void Form_Load(ScreenContext &context, TavlinModule &module, StartupSteps &steps);

// The folder the visualisation leaves its screenshot and description in
// (TempPfad): TEMPVISU's folder, C:\Temp when it is not set, and in it Kestrel.
QString visualisationTempFolder();
// The screenshot in that folder.
QString screenshotFile(const QString &tempFolder);

// The layout values chosen by the display width, and WidthFactor.
void applyLayoutValues(ScreenContext &context);
