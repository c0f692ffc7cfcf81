#pragma once

#include "check/CheckReport.h"
#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "os/PacedSteps.h"

#include <QString>
#include <memory>
#include <optional>

class MainForm;
struct Services;

struct CheckOptions
{
    // The folder holding TavlinScreen.bmp and Tavlin.txt, or a temporary root
    // whose "Kestrel" folder holds them; empty: TEMPVISU as the overlay reads it.
    QString tempFolder;
    // The installation folder in place of the description's VisuPfad.
    QString visuFolder;
    // Check this language number only, instead of every language.
    std::optional<qint16> language;
    // Build the overlay as the operator sees it (fade included), for a preview.
    bool buildOverlay = false;
};

// The check could not run (no description, the symbol images missing ...).
struct CheckFailed
{
    QString message;
};

// What the check read as the overlay reads it, and the overlay form built
// from it when a preview is asked for.
struct CheckedOverlay
{
    ScreenContext context;
    TavlinModule module;
    NoPauses pauses; // the preview's clock and event pump, kept while the form is
    std::unique_ptr<MainForm> form; // only with CheckOptions::buildOverlay
    bool placed = false; // the symbols were placed (a known display width)
    bool screenshot = false; // the screenshot was loaded
};

// The working folder as the overlay finds it: TEMPVISU (or C:\Temp) and
// "\Kestrel"; a folder given on the command line is taken as the working
// folder when it holds the description, else as the temporary root.
QString workingFolder(const QString &given);

// Reads what the overlay reads, through the overlay's own code, places the
// symbols with the overlay's own placement and checks the description, the
// placement, the language table, the footer image and the help pages.
// Needs a QApplication; the preview's fade runs without its pauses. Throws CheckFailed when there
// is nothing to check.
CheckReport runCheck(
    const CheckOptions &options, CheckedOverlay &overlay, const Services &services);
