#pragma once

#include <QLine>
#include <QPointF>
#include <QPolygon>
#include <vector>

struct ScreenContext;

// The footer help button in the footer's top-left corner, in pixels: the
// geometry of the 800-pixel screen, or of the 1280-pixel screen for every
// other width.
struct FooterButtonFrame
{
    struct Line
    {
        QLine line; // drawn up to but not including its end
        bool hypotenuse;
    };
    std::vector<Line> lines; // the bevel in drawing order
    QPolygon triangle; // the silver face inside it
};

FooterButtonFrame footerButtonFrame(const ScreenContext &context);

// Whether a position lies in the button's hit region: the button's square up
// to its diagonal, the position taken to the nearest whole pixel with halves
// to even.
bool footerButtonHit(const ScreenContext &context, QPointF position);
