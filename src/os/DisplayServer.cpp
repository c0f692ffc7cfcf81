#include "os/DisplayServer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

void waitForDisplayServer()
{
    const auto *x11
        = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    // A request with a reply is a round trip: the server answers it only after
    // every request sent before it, the frame's image among them.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void waitUntilShown(QWidget &window, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (window.isVisible() && !window.testAttribute(Qt::WA_Mapped)
        && !timer.hasExpired(milliseconds)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!window.testAttribute(Qt::WA_Mapped))
            QThread::msleep(1);
    }
}

void whenNotShownWithin(QWidget &window, int milliseconds, std::function<void()> notShown)
{
    // Precise: a coarse timer may fire a twentieth early.
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &window,
        [shown = QPointer<QWidget>(&window), notShown = std::move(notShown)] {
            const QWindow *handle = shown ? shown->windowHandle() : nullptr;
            if (shown && shown->isVisible() && !(handle && handle->isExposed()))
                notShown();
        });
}

namespace {

// Process-wide, as the window system's idea of the application's main window
// is: message boxes from any layer must come up above the overlay.
QPointer<QWidget> &owner()
{
    static QPointer<QWidget> window;
    return window;
}

} // namespace

void setDialogOwner(QWidget *window)
{
    owner() = window;
}

QWidget *dialogOwner()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return owner();
}

void markOwnWindow(QWidget &window)
{
    window.setProperty("tavlinOwnWindow", true);
}

bool isOwnWindow(const QWidget &window)
{
    return window.property("tavlinOwnWindow").toBool();
}
