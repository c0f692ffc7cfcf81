#include "description/StartupInput.h"

#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "os/FileSystem.h"
#include "os/Picture.h"
#include "os/Services.h"
#include "semantics/Arithmetic.h"

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

ScreenshotInput readScreenshot(ScreenContext &context, ScreenMetrics &screen)
{
    ScreenshotInput input;
    // Taken whether or not there is a screenshot: the check places the
    // symbols without one.
    context.TwipsPerPixelX = screen.twipsPerPixelX();
    context.TwipsPerPixelY = screen.twipsPerPixelY();
    const QString screenshot = VisuLayout::screenshotFile(context.TempPfad);
    input.found = Dir(screenshot);
    if (!input.found)
        return input;
    try {
        context.ScreenPicture = LoadPicture(screenshot, screen);
    } catch (const RuntimeError &error) {
        input.error = error;
    }
    return input;
}

QString visuPfadOf(const QString &folder)
{
    const bool ended = folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/'));
    return ended ? folder : folder + QLatin1Char('\\');
}

DescriptionInput readDescriptionInput(
    ScreenContext &context, TavlinModule &module, const QString &visuFolder)
{
    DescriptionInput input;
    input.found = ReadDescription(context, module);
    if (!input.found)
        return input;
    if (!visuFolder.isEmpty())
        context.VisuPfad = visuPfadOf(visuFolder);
    applyLayoutValues(context);
    try {
        ResolveContainers(context);
    } catch (const RuntimeError &error) {
        input.containerError = error;
    }
    return input;
}
