// The baseline of bench_HelpPageFirstPaint: a bare browser view in a fresh
// process, with the program's engine switches, showing the page given as its
// argument at the help window's place and size, until it is ended (at most
// 30 s). bench_HelpPageFirstPaint watches the screen for the page.
#include "browser/BrowserEngine.h"

#include <QApplication>
#include <QTimer>
#include <QWebEngineView>

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
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}
