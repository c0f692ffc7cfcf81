// The baseline of bench_HelpPageFirstPaint: a bare browser view in a fresh
// process, with the program's engine switches, showing the page given as its
// argument at the help window's place and size. Prints the monotonic clock
// (ms) when the page's red first shows, then ends.
#include "browser/BrowserEngine.h"

#include <QApplication>
#include <QTimer>
#include <QWebEngineView>
#include <chrono>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    prepareBrowserEngine();
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setGeometry(200, 200, 615, 461);
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QImage image = view.grab(QRect(view.width() / 2, view.height() / 2, 4, 4)).toImage();
        if (!image.isNull() && image.pixelColor(1, 1) == QColor(255, 0, 0)) {
            // The steady clock is the system's monotonic one, the same in every process.
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("painted=%.3f\n", std::chrono::duration<double, std::milli>(now).count());
            std::fflush(stdout);
            app.exit(0);
        }
    });
    poll.start(2);
    QTimer::singleShot(20000, &app, [&] { app.exit(1); });
    return app.exec();
}
