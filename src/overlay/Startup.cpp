#include "overlay/Startup.h"

#include "description/StartupInput.h"
#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "os/EndProgram.h"
#include "os/Services.h"

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

void ReadStartupInput(ScreenContext &context, TavlinModule &module, const Services &services)
{
    context.TempPfad = visualisationTempFolder();
    // A missing file ends the program silently, anything else with its
    // run-time error; nothing after the first failure is read.
    const ScreenshotInput screenshot = readScreenshot(context, *services.screen);
    if (!screenshot.found)
        EndProgram(*services.terminator);
    if (screenshot.error)
        throw *screenshot.error;
    const DescriptionInput description = readDescriptionInput(context, module);
    if (!description.found)
        EndProgram(*services.terminator);
    for (const TavlinModule::Notice &notice : module.takeNotices())
        services.messageBox->show(notice.text, QStringLiteral("Tavlin"));
    if (description.containerError)
        throw *description.containerError;
}
