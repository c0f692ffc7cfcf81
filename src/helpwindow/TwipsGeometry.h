#pragma once

#include <QtGlobal>

class QWidget;
class ScreenMetrics;

// Positions and sizes in twips for a window (screen coordinates) or a control
// (coordinates in its window). Values are set as Singles; the widget takes the
// nearest whole pixel (halves to even) at the screen's current twips per
// pixel, and reading gives back what it really took, in twips.
// A negative width or height is run-time error 380 (Invalid property value);
// a value beyond the pixel range overflows (error 6).
class TwipsGeometry
{
public:
    explicit TwipsGeometry(ScreenMetrics &screen)
        : m_screen(&screen)
    { }

    float left(const QWidget *widget) const;
    float top(const QWidget *widget) const;
    float width(const QWidget *widget) const;
    float height(const QWidget *widget) const;

    void setLeft(QWidget *widget, float twips) const;
    void setTop(QWidget *widget, float twips) const;
    void setWidth(QWidget *widget, float twips) const;
    void setHeight(QWidget *widget, float twips) const;

    // Left, top, width, height at once (the stored make-up of a control).
    void place(QWidget *widget, float left, float top, float width, float height) const;

private:
    float twipsPerPixelX() const;
    float twipsPerPixelY() const;

    ScreenMetrics *m_screen;
};
