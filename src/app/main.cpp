#include "app/MainForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // One screenshot pixel must land on one screen pixel, whatever the
    // screen's dots per inch: no device-independent scaling.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);

    MainForm Main;
    if (!Main.load())
        return 0;
    return app.exec();
}
