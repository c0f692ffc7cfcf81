#include "browser/webengine/ForeignWindowGuard.h"

#include "os/DisplayServer.h"
#include "os/Log.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>

namespace {

// The page view a popup belongs to, if any.
QWebEngineView *viewOf(QWidget &popup)
{
    for (QWidget *up = popup.parentWidget(); up; up = up->parentWidget())
        if (auto *view = qobject_cast<QWebEngineView *>(up))
            return view;
    return nullptr;
}

} // namespace

ForeignWindowGuard::ForeignWindowGuard(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool ForeignWindowGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize)
        return false;
    auto *window = qobject_cast<QWidget *>(watched);
    if (!window || !window->isWindow() || isOwnWindow(*window)
        || window->windowType() == Qt::ToolTip)
        return false;
    if (window->windowType() == Qt::Popup && viewOf(*window)) {
        keepInside(*window);
        return false;
    }
    if (type == QEvent::Show) {
        qCInfo(lcLock).noquote() << "A window the page opened was closed:"
                                 << window->metaObject()->className() << window->windowTitle();
        // Closed once it is fully shown: a dialog's own show would undo a
        // hide from inside it.
        QTimer::singleShot(0, window, [window] {
            if (auto *dialog = qobject_cast<QDialog *>(window))
                dialog->reject();
            window->close();
        });
    }
    return false;
}

void ForeignWindowGuard::keepInside(QWidget &popup)
{
    if (m_placing)
        return;
    const QWebEngineView *view = viewOf(popup);
    const QRect area(view->mapToGlobal(QPoint()), view->size());
    QRect place = popup.geometry();
    place.setSize(place.size().boundedTo(area.size()));
    place.moveLeft(qBound(area.left(), place.left(), area.right() + 1 - place.width()));
    place.moveTop(qBound(area.top(), place.top(), area.bottom() + 1 - place.height()));
    if (place == popup.geometry())
        return;
    m_placing = true;
    popup.setGeometry(place);
    m_placing = false;
}
