#include "interaction/OverlayMouseEvents.h"

#include "interaction/FooterButtonHandlers.h"
#include "platform/Platform.h"
#include "platform/RunGuarded.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

void keepMouseInput(QObject *child)
{
    if (child->isWidgetType())
        static_cast<QWidget *>(child)->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace

OverlayMouseEvents::OverlayMouseEvents(QWidget *form, FooterButtonHandlers &button)
    : QObject(form)
    , m_form(form)
    , m_button(button)
{
    // Moves without a pressed button count too: they keep the last position.
    form->setMouseTracking(true);
    for (QObject *child : form->children())
        keepMouseInput(child);
    form->installEventFilter(this);
}

bool OverlayMouseEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_form)
        return false;
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
        keepMouseInput(static_cast<QChildEvent *>(event)->child());
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        // The second press of a double click is reported as the double click
        // alone, so that the handlers see press, release, double click, release.
        if (event->type() == QEvent::MouseButtonPress
            && mouse->flags().testFlag(Qt::MouseEventCreatedDoubleClick)) {
            mouse->accept();
            return true;
        }
        const int button = event->type() == QEvent::MouseMove ? 0 : buttonCode(mouse->button());
        const int shift = shiftState(mouse->modifiers());
        const float x
            = static_cast<float>(mouse->position().x() * platform().screen->twipsPerPixelX());
        const float y
            = static_cast<float>(mouse->position().y() * platform().screen->twipsPerPixelY());
        runGuarded([&] {
            if (event->type() == QEvent::MouseButtonPress)
                m_button.Form_MouseDown(button, shift, x, y);
            else if (event->type() == QEvent::MouseMove)
                m_button.Form_MouseMove(button, shift, x, y);
            else
                m_button.Form_MouseUp(button, shift, x, y);
        });
        mouse->accept();
        return true;
    }
    case QEvent::MouseButtonDblClick:
        // The platform reports press, release, double click, release: the
        // second press is the double click and nothing else.
        runGuarded([this] { m_button.Form_DblClick(); });
        event->accept();
        return true;
    default:
        return false;
    }
}
