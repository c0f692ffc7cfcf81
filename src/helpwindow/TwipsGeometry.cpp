#include "helpwindow/TwipsGeometry.h"

#include "semantics/Arithmetic.h"
#include "os/Platform.h"
#include "semantics/RuntimeError.h"

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

// Widgets beyond this many pixels are refused (Qt's own limit is 2^24).
constexpr double kPixelLimit = 16777215.0;

int toPixels(float twips, float twipsPerPixel)
{
    const double pixels = Arithmetic::roundHalfEven(Arithmetic::divide(twips, twipsPerPixel));
    if (!(pixels >= -kPixelLimit && pixels <= kPixelLimit))
        throw RuntimeError::overflow();
    return static_cast<int>(pixels);
}

int toSize(float twips, float twipsPerPixel)
{
    if (twips < 0)
        throw RuntimeError(380, QStringLiteral("Invalid property value"));
    return toPixels(twips, twipsPerPixel);
}

float toTwips(int pixels, float twipsPerPixel)
{
    return static_cast<float>(pixels) * twipsPerPixel;
}

} // namespace

namespace TwipsGeometry {

float left(const QWidget *widget)
{
    return toTwips(widget->geometry().x(), twipsPerPixelX());
}
float top(const QWidget *widget)
{
    return toTwips(widget->geometry().y(), twipsPerPixelY());
}
float width(const QWidget *widget)
{
    return toTwips(widget->geometry().width(), twipsPerPixelX());
}
float height(const QWidget *widget)
{
    return toTwips(widget->geometry().height(), twipsPerPixelY());
}

void setLeft(QWidget *widget, float twips)
{
    QRect rect = widget->geometry();
    rect.moveLeft(toPixels(twips, twipsPerPixelX()));
    widget->setGeometry(rect);
}

void setTop(QWidget *widget, float twips)
{
    QRect rect = widget->geometry();
    rect.moveTop(toPixels(twips, twipsPerPixelY()));
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
    widget->setGeometry(toPixels(left, twipsPerPixelX()), toPixels(top, twipsPerPixelY()),
        toSize(width, twipsPerPixelX()), toSize(height, twipsPerPixelY()));
}

} // namespace TwipsGeometry
