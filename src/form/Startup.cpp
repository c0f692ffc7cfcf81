#include "form/Startup.h"

#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "os/EndProgram.h"
#include "os/FileSystem.h"
#include "os/Picture.h"
#include "os/Platform.h"
#include "semantics/Arithmetic.h"
#include "state/ScreenContext.h"
#include "state/VisuLayout.h"

void applyLayoutValues(ScreenContext &context)
{
    // The overhang is the exact product of the Single factor and 7 or 11,
    // rounded half to even into an Integer.
    if (context.DispHInt == 800) {
        context.ButtonSize = 41;
        context.FooterTop = 537;
        context.SymbolOverhang = Arithmetic::toInteger(double(context.TwipsPerPixelX) * 7.0);
        context.DispVInt = 600;
    } else if (context.DispHInt == 1280) {
        context.ButtonSize = 66;
        context.FooterTop = 916;
        context.SymbolOverhang = Arithmetic::toInteger(double(context.TwipsPerPixelX) * 11.0);
        context.DispVInt = 1024;
    }
    context.WidthFactor = double(context.DispHInt) / 1280.0;
}

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

    const QString screenshot = screenshotFile(context.TempPfad);
    if (!Dir(screenshot))
        EndProgram();

    context.TwipsPerPixelX = platform().screen->twipsPerPixelX();
    context.TwipsPerPixelY = platform().screen->twipsPerPixelY();
    context.ScreenPicture = LoadPicture(screenshot);

    ReadDescription(context, module);
    for (const TavlinModule::Notice &notice : module.takeNotices())
        platform().messageBox->show(notice.text, QStringLiteral("Tavlin"));
    applyLayoutValues(context);
    ResolveContainers(context);
}
