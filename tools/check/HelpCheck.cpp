#include "check/HelpCheck.h"

#include "check/DescriptionChecks.h"
#include "check/HelpPageChecks.h"
#include "check/PlacementChecks.h"
#include "description/StartupInput.h"
#include "model/VisuLayout.h"
#include "os/FileSystem.h"
#include "os/PacedSteps.h"
#include "os/PathMapper.h"
#include "os/Services.h"
#include "overlay/MainForm.h"
#include "overlay/OverlayBuild.h"
#include "overlay/Startup.h"
#include "overlay/SymbolPlacement.h"
#include "semantics/RuntimeError.h"

#include <QCoreApplication>
#include <QFileInfo>

QString workingFolder(const QString &given)
{
    if (given.isEmpty())
        return visualisationTempFolder();
    if (Dir(VisuLayout::descriptionFile(given)))
        return given;
    return VisuLayout::workingFolder(given);
}

namespace {

void checkScreenshot(const ScreenContext &context, const QString &path, bool loaded,
    const QString &problem, CheckReport &report)
{
    Finding f;
    f.kind = QStringLiteral("screenshot");
    f.file = path;
    if (!loaded) {
        f.message = problem;
        report.add(f);
        return;
    }
    const QSize size = context.ScreenPicture.image.size();
    if (context.DispVInt == 0 || size == QSize(context.DispHInt, context.DispVInt))
        return;
    f.severity = Finding::Severity::Warning;
    f.message = QStringLiteral("the screenshot is %1 x %2 pixels, the description's screen "
                               "%3 x %4: the symbols will not sit on their controls")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(context.DispHInt)
                    .arg(context.DispVInt);
    report.add(f);
}

// The overlay ends at start-up with the standard message when a control's
// place in its containers goes beyond the 16-bit numbers. Entries are put in
// their containers in order: the first one left unresolved is the one.
void checkStopped(const ScreenContext &context, const QString &description,
    const RuntimeError &error, CheckReport &report)
{
    Finding f;
    f.kind = QStringLiteral("stops-at-start-up");
    f.file = description;
    for (int i = 0; i <= context.LastEntry && f.entry < 0; ++i) {
        const HelpEntry &entry = context.HelpEntries[size_t(i)];
        if (!entry.ContainerName.isEmpty() && entry.ContainerPath == QLatin1String(".")) {
            f.entry = i;
            f.name = entry.Name;
        }
    }
    f.message = QStringLiteral("the overlay stops at start-up with run-time error %1 (%2) as it "
                               "adds this control's place to its containers'")
                    .arg(error.number())
                    .arg(error.description());
    report.add(f);
}

// Placement findings name their entry's section of the description, "[n]".
void pointAtSections(CheckReport &report, const TavlinModule &module, const QString &description)
{
    for (Finding &f : report.findings) {
        if (!f.file.isEmpty() || f.entry < 0 || !f.element.startsWith(QLatin1String("Symbol(")))
            continue;
        f.file = description;
        const QString header = QStringLiteral("[%1]").arg(f.entry);
        for (int n = 1; n <= module.IniLineCount() && f.line == 0; ++n)
            if (module.IniLine(n).trimmed() == header)
                f.line = n;
    }
}

} // namespace

CheckReport runCheck(const CheckOptions &options, CheckedOverlay &overlay, const Services &services)
{
    ScreenContext &context = overlay.context;
    TavlinModule &module = overlay.module;

    // The overlay's own start-up steps, carrying on where the overlay would
    // end so that everything else is still checked.
    context.TempPfad = workingFolder(options.tempFolder);
    const QString description = VisuLayout::descriptionFile(context.TempPfad);
    if (!Dir(description))
        throw CheckFailed { QStringLiteral("no description %1: nothing to check (the overlay "
                                           "ends at once, showing nothing)")
                                .arg(description) };
    // Only a regular file that can be read is read: a named pipe would hold
    // the check (and the overlay) forever, and an unreadable file gives
    // nothing but the findings of an empty description.
    const QFileInfo local(mapWindowsPath(description));
    if (!local.isFile() || !local.isReadable())
        throw CheckFailed { QStringLiteral("the description %1 %2: nothing to check (the overlay "
                                           "stops at start-up)")
                                .arg(description,
                                    local.isFile() ? QStringLiteral("cannot be read")
                                                   : QStringLiteral("is no file")) };

    const QString screenshot = VisuLayout::screenshotFile(context.TempPfad);
    const ScreenshotInput shot = readScreenshot(context, *services.screen);
    overlay.screenshot = shot.found && !shot.error;
    QString screenshotProblem
        = QStringLiteral("the screenshot is missing: the overlay ends at once, showing nothing");
    if (shot.error)
        screenshotProblem = QStringLiteral("the screenshot cannot be read (%1): the overlay "
                                           "fails at start-up")
                                .arg(shot.error->description());
    const DescriptionInput input = readDescriptionInput(context, module, options.visuFolder);

    CheckReport report;
    report.descriptionFile = description;
    report.displayWidth = context.DispHInt;
    report.displayHeight = context.DispVInt;
    report.entries = context.LastEntry + 1;
    checkScreenshot(context, screenshot, overlay.screenshot, screenshotProblem, report);
    checkDescription(context, module, description, report);
    if (input.containerError)
        checkStopped(context, description, *input.containerError, report);

    if (context.DispHInt == 800 || context.DispHInt == 1280) {
        try {
            checkPlacement(context,
                symbolLayout(context, QCoreApplication::applicationDirPath(), *services.screen),
                report);
            pointAtSections(report, module, description);
            if (options.buildOverlay && overlay.screenshot) {
                // The fade without its pauses: the preview shows its last frame.
                overlay.form = std::make_unique<MainForm>(withoutPauses(services, overlay.pauses));
                overlay.form->context() = context;
                BuildOverlay(*overlay.form);
            }
        } catch (const RuntimeError &error) {
            throw CheckFailed { QStringLiteral("the symbols cannot be placed: %1 %2")
                                    .arg(error.description(), error.path()) };
        }
        overlay.placed = true;
    }

    checkInstallation(context, options.language, *services.screen, report);
    return report;
}
