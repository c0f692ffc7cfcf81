#include "helpwindow/HelpRehearsal.h"

#include "helpwindow/HelpWindow.h"
#include "os/DisplayServer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

void rehearseHelpWindow(ScreenMetrics &screen, const BrowserFactory &browser)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *window = new HelpWindow(screen, browser, dialogOwner());
    // Up and to the left of every screen, where the X server draws nothing
    // and no window manager moves it (the window places itself).
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    window->move(desktop.topLeft() - QPoint(2 * window->width(), 2 * window->height()));
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    QTimer::singleShot(kRehearsalMs, window, &QObject::deleteLater);
}
