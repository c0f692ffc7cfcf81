#pragma once

#include <QtGlobal>

class QWidget;

// Positions and sizes in twips for a window (screen coordinates) or a control
// (coordinates in its window). Values are set as Singles; the widget takes the
// nearest whole pixel (halves to even) at the screen's current twips per
// pixel, and reading gives back what it really took, in twips.
// A negative width or height is run-time error 380 (Invalid property value);
// a value beyond the pixel range overflows (error 6).
namespace TwipsGeometry {

float left(const QWidget *widget);
float top(const QWidget *widget);
float width(const QWidget *widget);
float height(const QWidget *widget);

void setLeft(QWidget *widget, float twips);
void setTop(QWidget *widget, float twips);
void setWidth(QWidget *widget, float twips);
void setHeight(QWidget *widget, float twips);

// Left, top, width, height at once (the stored make-up of a control).
void place(QWidget *widget, float left, float top, float width, float height);

} // namespace TwipsGeometry
