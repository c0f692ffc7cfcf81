#include "helpwindow/ButtonPictures.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor kGrey(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kPage(192, 192, 255);
const QColor kTextGrey(128, 128, 128);

// A filled arrow head with its tip at `tip`, pointing along (dx, dy), and a
// shaft of `shaft` pixels behind it.
void drawArrow(QPainter &painter, QPoint tip, int dx, int dy, int shaft)
{
    const int head = 6;
    const int half = 4;
    const QPoint base(tip.x() - dx * head, tip.y() - dy * head);
    const QPoint side(dy * half, dx * half);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygon({ tip, base + side, base - side }));
    const QPoint end(base.x() - dx * shaft, base.y() - dy * shaft);
    const int across = dx == 0 ? 1 : 0;
    const int down = dy == 0 ? 1 : 0;
    const QRect stem = QRect(base, end).normalized().adjusted(-across, -down, across, down);
    painter.fillRect(stem, Qt::black);
}

} // namespace

QImage closeSymbolPicture()
{
    QImage image(30, 31, QImage::Format_RGB32);
    image.fill(kGrey);
    // Two strokes, three pixels wide, from corner to corner of an 18 x 18 square.
    for (int i = 0; i < 18; ++i) {
        for (int w = -1; w <= 1; ++w) {
            image.setPixelColor(6 + i + w, 6 + i, kRed);
            image.setPixelColor(6 + i + w, 23 - i, kRed);
        }
    }
    return image;
}

QImage moveSymbolPicture()
{
    QImage image(72, 57, QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter painter(&image);

    // The page: 62 x 47 inside the 5-pixel margin.
    const QRect page(5, 5, 62, 47);
    painter.fillRect(page, kPage);
    // Text lines.
    const int lineLengths[] = { 44, 36, 48, 30, 40 };
    for (int i = 0; i < 5; ++i)
        painter.fillRect(QRect(10, 11 + i * 5, lineLengths[i], 2), kTextGrey);
    // The bottom bar with its small red cross at the right.
    painter.fillRect(QRect(7, 43, 58, 7), kTextGrey);
    painter.setPen(QPen(kRed, 1));
    painter.drawLine(59, 44, 63, 48);
    painter.drawLine(59, 48, 63, 44);

    // Four arrows, tips on the picture's edges at the middle of each side.
    drawArrow(painter, QPoint(36, 0), 0, -1, 5);
    drawArrow(painter, QPoint(36, 56), 0, 1, 5);
    drawArrow(painter, QPoint(0, 28), -1, 0, 5);
    drawArrow(painter, QPoint(71, 28), 1, 0, 5);
    return image;
}
