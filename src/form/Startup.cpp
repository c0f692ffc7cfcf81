#include "form/Startup.h"

#include "description/StartupInput.h"
#include "description/TavlinModule.h"
#include "os/EndProgram.h"
#include "os/Platform.h"
#include "state/ScreenContext.h"
#include "state/VisuLayout.h"

QString visualisationTempFolder()
{
    QString folder = TavlinModule::GetDOSEnvironmentVariable(QStringLiteral("TEMPVISU"));
    if (folder.isEmpty())
        folder = VisuLayout::defaultTemporaryRoot();
    return VisuLayout::workingFolder(folder);
}

QString screenshotFile(const QString &tempFolder)
{
    return VisuLayout::screenshotFile(tempFolder);
}

void ReadStartupInput(ScreenContext &context, TavlinModule &module)
{
    context.TempPfad = visualisationTempFolder();
    // A missing file ends the program silently, anything else with its
    // run-time error; nothing after the first failure is read.
    const ScreenshotInput screenshot = readScreenshot(
        context, platform().screen->twipsPerPixelX(), platform().screen->twipsPerPixelY());
    if (!screenshot.found)
        EndProgram();
    if (screenshot.error)
        throw *screenshot.error;
    const DescriptionInput description = readDescriptionInput(context, module);
    if (!description.found)
        EndProgram();
    for (const TavlinModule::Notice &notice : module.takeNotices())
        platform().messageBox->show(notice.text, QStringLiteral("Tavlin"));
    if (description.containerError)
        throw *description.containerError;
}
