#include "helpwindow/TwipsGeometry.h"

#include "os/Platform.h"
#include "semantics/RuntimeError.h"
#include "semantics/Twips.h"

#include <QWidget>

namespace {

float twipsPerPixelX()
{
    return platform().screen->twipsPerPixelX();
}
float twipsPerPixelY()
{
    return platform().screen->twipsPerPixelY();
}

int toSize(float twips, float twipsPerPixel)
{
    if (twips < 0)
        throw RuntimeError(380, QStringLiteral("Invalid property value"));
    return Twips::toWidgetPixels(twips, twipsPerPixel);
}

} // namespace

namespace TwipsGeometry {

float left(const QWidget *widget)
{
    return Twips::toTwips(widget->geometry().x(), twipsPerPixelX());
}
float top(const QWidget *widget)
{
    return Twips::toTwips(widget->geometry().y(), twipsPerPixelY());
}
float width(const QWidget *widget)
{
    return Twips::toTwips(widget->geometry().width(), twipsPerPixelX());
}
float height(const QWidget *widget)
{
    return Twips::toTwips(widget->geometry().height(), twipsPerPixelY());
}

void setLeft(QWidget *widget, float twips)
{
    QRect rect = widget->geometry();
    rect.moveLeft(Twips::toWidgetPixels(twips, twipsPerPixelX()));
    widget->setGeometry(rect);
}

void setTop(QWidget *widget, float twips)
{
    QRect rect = widget->geometry();
    rect.moveTop(Twips::toWidgetPixels(twips, twipsPerPixelY()));
    widget->setGeometry(rect);
}

void setWidth(QWidget *widget, float twips)
{
    QRect rect = widget->geometry();
    rect.setWidth(toSize(twips, twipsPerPixelX()));
    widget->setGeometry(rect);
}

void setHeight(QWidget *widget, float twips)
{
    QRect rect = widget->geometry();
    rect.setHeight(toSize(twips, twipsPerPixelY()));
    widget->setGeometry(rect);
}

void place(QWidget *widget, float left, float top, float width, float height)
{
    widget->setGeometry(Twips::toWidgetPixels(left, twipsPerPixelX()),
        Twips::toWidgetPixels(top, twipsPerPixelY()), toSize(width, twipsPerPixelX()),
        toSize(height, twipsPerPixelY()));
}

} // namespace TwipsGeometry
