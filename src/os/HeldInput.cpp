#include "os/HeldInput.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

HeldInput::HeldInput()
{
    QCoreApplication::instance()->installEventFilter(this);
}

HeldInput::~HeldInput()
{
    QCoreApplication::instance()->removeEventFilter(this);
    // Posted, not sent: whoever ends the hold finishes its own work first.
    for (Held &held : m_held) {
        if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

void HeldInput::discard()
{
    m_held.clear();
}

bool HeldInput::eventFilter(QObject *receiver, QEvent *event)
{
    if (!isInput(event->type()))
        return false;
    // An event the window hands on to one of its widgets is the same input:
    // it is kept once, where it came in first.
    m_held.push_back({ receiver, std::unique_ptr<QEvent>(event->clone()) });
    return true;
}
