#include "demovisu/FooterHelpButton.h"

#include "demovisu/DemoLayout.h"
#include "symbols/HelpMark.h"

#include <QPainter>

namespace {

constexpr QRgb kSilver = 0xFFC0C0C0u;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kGrey = 0xFF808080u;

void plot(QImage &image, int x, int y, QRgb colour)
{
    if (image.rect().contains(x, y))
        image.setPixel(x, y, colour);
}

// A horizontal, vertical or 45-degree line that stops one pixel short of its
// end point.
void line(QImage &image, int x1, int y1, int x2, int y2, QRgb colour)
{
    const int dx = (x2 > x1) - (x2 < x1);
    const int dy = (y2 > y1) - (y2 < y1);
    const int steps = qMax(qAbs(x2 - x1), qAbs(y2 - y1));
    for (int i = 0; i < steps; ++i)
        plot(image, x1 + i * dx, y1 + i * dy, colour);
}

// The right-angled triangle with its corner at (x, y) and legs of `legs`
// pixels beyond the corner, edges included.
void triangle(QImage &image, int x, int y, int legs, QRgb colour)
{
    for (int row = 0; row <= legs; ++row)
        for (int column = 0; column <= legs - row; ++column)
            plot(image, x + column, y + row, colour);
}

} // namespace

QImage footerHelpImage(int displayWidth)
{
    return drawHelpMark(displayWidth == 800 ? 16 : 26, kSilver);
}

void drawFooterHelpButton(QImage &screen, const DemoLayout &layout, const QImage &image)
{
    const int t = layout.footerTop;
    QPoint imageAt;
    if (layout.width == 800) {
        line(screen, 0, t, 41, t, kWhite);
        line(screen, 0, t, 0, t + 40, kWhite);
        line(screen, 0, t + 40, 40, t, kGrey);
        line(screen, 0, t + 41, 42, t - 1, kGrey);
        triangle(screen, 1, t + 1, 37, kSilver);
        imageAt = QPoint(2, t + 2);
    } else {
        line(screen, 0, t, 66, t, kWhite);
        line(screen, 0, t + 1, 64, t + 1, kWhite);
        line(screen, 0, t, 0, t + 65, kWhite);
        line(screen, 1, t, 1, t + 63, kWhite);
        line(screen, 0, t + 66, 67, t - 1, kGrey);
        line(screen, 0, t + 65, 65, t, kGrey);
        line(screen, 1, t + 63, 63, t + 1, kGrey);
        triangle(screen, 2, t + 2, 59, kSilver);
        imageAt = QPoint(4, t + 4);
    }
    QPainter painter(&screen);
    painter.drawImage(imageAt, image);
}
