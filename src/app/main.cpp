#include "app/MainForm.h"
#include "interaction/OverlayInteraction.h"
#include "platform/BrowserEngine.h"
#include "platform/BrowserView.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // One screenshot pixel must land on one screen pixel, whatever the
    // screen's dots per inch: no device-independent scaling.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    prepareBrowserEngine();
    QApplication app(argc, argv);
    useBrowserEngine();

    MainForm Main;
    OverlayInteraction interaction(Main);
    if (!Main.load())
        return 0;
    // The overlay is up: load the help pages' browser engine now rather than
    // at the first help request.
    warmUpBrowser();
    return app.exec();
}
