#include "app/DisplayPlatform.h"
#include "browser/BrowserEngine.h"
#include "helpwindow/HelpRehearsal.h"
#include "os/Log.h"
#include "os/PicturePrefetch.h"
#include "os/RealServices.h"
#include "os/ScratchFolder.h"
#include "overlay/MainForm.h"
#include "overlay/OverlayInteraction.h"
#include "overlay/OverlayStartup.h"
#include "overlay/Startup.h"

#include <QApplication>

int main()
{
    logToSystemJournal();
    qCInfo(lcStartup, "Tavlin %s starts", TAVLIN_VERSION);
    // One screenshot pixel must land on one screen pixel, whatever the
    // screen's dots per inch: no device-independent scaling.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    if (!chooseDisplayPlatform())
        return logEnd(1);
    makeScratchFolder(); // sets TMPDIR: before any thread
    prepareBrowserEngine();
    // The screenshot is decoded while the connection to the window system is
    // made; the start-up sequence takes it when it loads the picture.
    PrefetchPicture(screenshotFile(visualisationTempFolder()));
    // The program has no command line: the visualisation starts it without
    // arguments, and Qt's own options (-platform, -plugin, -stylesheet, ...)
    // and the engine's switches, which both read the application's
    // arguments, are not given the chance. (Qt names the application after
    // its first argument.)
    int argumentCount = 1;
    char name[] = "tavlin";
    char *arguments[] = { name, nullptr };
    QApplication app(argumentCount, arguments);
    const BrowserFactory browser = useBrowserEngine();

    const RealServices real;
    MainForm Main(real.services());
    OverlayInteraction interaction(Main, browser);
    if (!loadMain(Main))
        return logEnd(0);
    // The fade is over and the footer button works: the browser engine starts
    // now, while the operator looks for a symbol, so that the first page
    // shows as fast as any later one.
    warmUpBrowserEngine(
        kWarmUpAfterFadeMs, [&] { rehearseHelpWindow(*real.services().screen, browser); });
    return logEnd(app.exec());
}
