#pragma once

#include <QImage>

struct DemoLayout;

// The image on the footer's help button: a small help mark on silver that
// fits inside the button's triangle in both of its looks (16 x 16 pixels on
// the 800 screen, 26 x 26 on the 1280 screen).
QImage footerHelpImage(int displayWidth);

// Draws the help button in its raised look into the footer's top-left
// corner, as the visualisation shows it: the bevel (white legs, grey
// hypotenuse), the silver triangle and the image, pixel for pixel as the
// overlay redraws it.
void drawFooterHelpButton(QImage &screen, const DemoLayout &layout, const QImage &image);
