#include "overlay/PictureBox.h"

#include "raster/Colour.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent, const TwipsScale &scale, qint16 index)
    : QWidget(parent)
    , m_scale(scale)
    , m_index(index)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Mouse input over a picture stays with it: the form's own handlers must
    // only see input outside its elements, also the moves a picture ignores.
    setAttribute(Qt::WA_NoMousePropagation);
    BackColor = Colour::Silver;
    Cls();
}

void PictureBox::setLeft(double twips)
{
    move(m_scale.toPixelsX(twips), y());
}

void PictureBox::setTop(double twips)
{
    move(x(), m_scale.toPixelsY(twips));
}

void PictureBox::setWidth(double twips)
{
    resizePixels(m_scale.toPixelsX(twips), height());
}

void PictureBox::setHeight(double twips)
{
    resizePixels(width(), m_scale.toPixelsY(twips));
}

void PictureBox::resizePixels(int width, int height)
{
    resize(std::max(width, 0), std::max(height, 0));
    resizeImage(width, height);
}

void PictureBox::setBackColor(quint32 colour)
{
    BackColor = colour;
    Cls();
}

void PictureBox::setPicture(const Picture &picture)
{
    m_picture = picture;
    setBackgroundPicture(picture.image);
    if (AutoSize && !picture.isNull())
        resizePixels(picture.image.width(), picture.image.height());
    Cls();
}

void PictureBox::Refresh()
{
    if (isVisible())
        repaint();
}

void PictureBox::copySettingsFrom(const PictureBox &other)
{
    BackColor = other.BackColor;
    ForeColor = other.ForeColor;
    FillColor = other.FillColor;
    AutoSize = other.AutoSize;
    move(other.pos());
    resizePixels(other.width(), other.height());
    setPicture(other.m_picture);
}

void PictureBox::setPaintedByParent()
{
    m_paintedByParent = true;
    // What lies under the box is the parent's to paint.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::paint(QPainter &painter, const QPoint &origin, const QRect &area) const
{
    const QRect target = area.translated(origin);
    painter.fillRect(target, QColor::fromRgb(Colour::toQRgb(BackColor)));
    painter.drawImage(target.topLeft(), image(), area);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    if (m_paintedByParent)
        return;
    QPainter painter(this);
    paint(painter, QPoint(0, 0), event->rect());
}

// A click is a press and a release of the left button, both on the box; the
// other buttons do not click.
void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked(m_index);
}
