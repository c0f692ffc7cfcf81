#include "helpwindow/PictureButton.h"

#include "os/Services.h"
#include "semantics/MouseArguments.h"
#include "semantics/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

PictureButton::PictureButton(
    const QImage &picture, const QColor &background, ScreenMetrics &screen, QWidget *parent)
    : QAbstractButton(parent)
    , m_screen(screen)
    , m_picture(picture)
    , m_background(background)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, m_background);
    const bool sunken = isDown();
    const QPoint offset = sunken ? QPoint(1, 1) : QPoint(0, 0);
    painter.drawImage(
        area.center() - QPoint(m_picture.width() / 2, m_picture.height() / 2) + offset, m_picture);
    // The bevel: light on the top and left, dark on the bottom and right; swapped while pressed.
    const QColor light = sunken ? QColor(64, 64, 64) : QColor(255, 255, 255);
    const QColor dark = sunken ? QColor(255, 255, 255) : QColor(64, 64, 64);
    painter.setPen(light);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());
}

void PictureButton::report(
    void (PictureButton::*signal)(int, int, float, float), QMouseEvent *event)
{
    const int button = MouseArguments::buttonMask(
        event->type() == QEvent::MouseMove ? event->buttons() : Qt::MouseButtons(event->button()));
    // From the pointer's place on the screen and the window's place now: an
    // event queued before the window last moved (a drag on a busy display)
    // holds a position relative to where the window was, which would make the
    // dragged window run ahead of the pointer.
    const QPointF position = mapFromGlobal(event->globalPosition());
    (this->*signal)(button, MouseArguments::shiftMask(event->modifiers()),
        Twips::toTwips(position.x(), m_screen.twipsPerPixelX()),
        Twips::toTwips(position.y(), m_screen.twipsPerPixelY()));
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    QPointer<PictureButton> alive(this);
    report(&PictureButton::mouseDown, event);
    if (alive)
        QAbstractButton::mousePressEvent(event);
    event->accept();
}

void PictureButton::mouseMoveEvent(QMouseEvent *event)
{
    QPointer<PictureButton> alive(this);
    report(&PictureButton::mouseMove, event);
    if (alive)
        QAbstractButton::mouseMoveEvent(event);
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    QPointer<PictureButton> alive(this);
    report(&PictureButton::mouseUp, event);
    if (alive)
        QAbstractButton::mouseReleaseEvent(event);
    event->accept();
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a press like any other here.
    mousePressEvent(event);
}
