#include "helpwindow/TwipsGeometry.h"

#include "os/Services.h"
#include "semantics/RuntimeError.h"
#include "semantics/Twips.h"

#include <QWidget>

namespace {

int toSize(float twips, float twipsPerPixel)
{
    if (twips < 0)
        throw RuntimeError(380, QStringLiteral("Invalid property value"));
    return Twips::toWidgetPixels(twips, twipsPerPixel);
}

} // namespace

float TwipsGeometry::twipsPerPixelX() const
{
    return m_screen->twipsPerPixelX();
}
float TwipsGeometry::twipsPerPixelY() const
{
    return m_screen->twipsPerPixelY();
}

float TwipsGeometry::left(const QWidget *widget) const
{
    return Twips::toTwips(widget->geometry().x(), twipsPerPixelX());
}
float TwipsGeometry::top(const QWidget *widget) const
{
    return Twips::toTwips(widget->geometry().y(), twipsPerPixelY());
}
float TwipsGeometry::width(const QWidget *widget) const
{
    return Twips::toTwips(widget->geometry().width(), twipsPerPixelX());
}
float TwipsGeometry::height(const QWidget *widget) const
{
    return Twips::toTwips(widget->geometry().height(), twipsPerPixelY());
}

void TwipsGeometry::setLeft(QWidget *widget, float twips) const
{
    QRect rect = widget->geometry();
    rect.moveLeft(Twips::toWidgetPixels(twips, twipsPerPixelX()));
    widget->setGeometry(rect);
}

void TwipsGeometry::setTop(QWidget *widget, float twips) const
{
    QRect rect = widget->geometry();
    rect.moveTop(Twips::toWidgetPixels(twips, twipsPerPixelY()));
    widget->setGeometry(rect);
}

void TwipsGeometry::setWidth(QWidget *widget, float twips) const
{
    QRect rect = widget->geometry();
    rect.setWidth(toSize(twips, twipsPerPixelX()));
    widget->setGeometry(rect);
}

void TwipsGeometry::setHeight(QWidget *widget, float twips) const
{
    QRect rect = widget->geometry();
    rect.setHeight(toSize(twips, twipsPerPixelY()));
    widget->setGeometry(rect);
}

void TwipsGeometry::place(QWidget *widget, float left, float top, float width, float height) const
{
    widget->setGeometry(Twips::toWidgetPixels(left, twipsPerPixelX()),
        Twips::toWidgetPixels(top, twipsPerPixelY()), toSize(width, twipsPerPixelX()),
        toSize(height, twipsPerPixelY()));
}
