// tavlin-screen-grab: saves what the X display shows as a PNG file.
//
//   tavlin-screen-grab OUT.png [X Y WIDTH HEIGHT]
//
// Reads the root window of $DISPLAY through Qt's xcb platform, so it needs
// nothing beyond Qt; used by scripts/demo.sh to keep a picture of each step.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2 && arguments.size() != 6) {
        std::fputs("Usage: tavlin-screen-grab OUT.png [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    int area[4] = { 0, 0, -1, -1 };
    for (int i = 0; i < 4 && arguments.size() == 6; ++i) {
        bool ok = false;
        area[i] = arguments.at(2 + i).toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "tavlin-screen-grab: %s is not a number\n",
                qPrintable(arguments.at(2 + i)));
            return 2;
        }
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fputs("tavlin-screen-grab: no screen\n", stderr);
        return 1;
    }
    const QImage image = screen->grabWindow(0, area[0], area[1], area[2], area[3]).toImage();
    if (image.isNull() || !image.save(arguments.at(1), "PNG")) {
        std::fprintf(stderr, "tavlin-screen-grab: cannot write %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}
