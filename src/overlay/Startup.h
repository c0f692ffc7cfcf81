#pragma once

#include <QString>

class TavlinModule;
struct Services;
struct ScreenContext;

// The start-up's input, read once before the overlay is built: the
// screenshot, the description (what its reader says on the way is shown in
// message boxes), the layout values and the containers. Ends the program
// silently when the screenshot or the description is missing; any other
// failure raises a RuntimeError.
void ReadStartupInput(ScreenContext &context, TavlinModule &module, const Services &services);

// The folder the visualisation leaves its screenshot and description in
// (TempPfad): TEMPVISU's folder, C:\Temp when it is not set, and in it Kestrel.
QString visualisationTempFolder();
// The screenshot in that folder.
QString screenshotFile(const QString &tempFolder);
