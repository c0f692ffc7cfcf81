#include "symbols/HelpMark.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSet>

namespace {

// The drawing is laid out on a 100 x 100 grid.
constexpr qreal kGrid = 100.0;

const QColor kRing(12, 45, 110);
const QColor kBody(30, 100, 205);
const QColor kHighlight(95, 160, 240);
const QColor kGlyph(255, 255, 255);

QPainterPath questionMark()
{
    // The hook: an arc from the left, over the top and down the right side,
    // bending back to the middle, then a short straight stem.
    QPainterPath hook;
    const QRectF bow(33.0, 20.0, 34.0, 30.0);
    hook.arcMoveTo(bow, 165.0);
    hook.arcTo(bow, 165.0, -230.0);
    hook.quadTo(QPointF(51.0, 54.0), QPointF(51.0, 60.0));
    hook.lineTo(QPointF(51.0, 64.0));

    QPainterPathStroker stroker;
    stroker.setWidth(11.0);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath glyph = stroker.createStroke(hook);
    QPainterPath dot;
    dot.addEllipse(QPointF(51.0, 77.0), 6.5, 6.5);
    return glyph.united(dot).simplified();
}

// The opaque colour with its channels rounded to multiples of 2^shift.
QRgb coarse(QRgb colour, int shift)
{
    if (shift == 0)
        return colour | 0xFF000000u;
    const auto channel = [shift](int value) {
        const int step = 1 << shift;
        return qMin(255, ((value + step / 2) >> shift) << shift);
    };
    return qRgb(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)));
}

} // namespace

QImage drawHelpMark(int size, QRgb background)
{
    size = qMax(size, 1);

    // The smoothed drawing on a clear canvas ...
    QImage art(size, size, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    {
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / kGrid, size / kGrid);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kRing);
        painter.drawEllipse(QPointF(50.0, 50.0), 49.0, 49.0);
        painter.setBrush(kBody);
        painter.drawEllipse(QPointF(50.0, 50.0), 42.0, 42.0);
        // A soft light from the top-left keeps it from looking flat.
        QPainterPath shine;
        shine.addEllipse(QPointF(50.0, 50.0), 42.0, 42.0);
        QPainterPath cut;
        cut.addEllipse(QPointF(56.0, 58.0), 44.0, 44.0);
        painter.setBrush(kHighlight);
        painter.drawPath(shine.subtracted(cut));
        painter.setBrush(kGlyph);
        painter.drawPath(questionMark());
    }

    // ... then a hard outline: a pixel belongs to the badge when the badge
    // covers at least half of it, and takes the badge's own colour there.
    // Badge colours stay apart from the background and number at most 255;
    // should the smoothing ever make more, the channels are coarsened.
    const QImage straight = art.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = background | 0xFF000000u;
    QImage result(size, size, QImage::Format_RGB32);
    for (int shift = 0; shift <= 7; ++shift) {
        QSet<QRgb> colours;
        for (int y = 0; y < size; ++y) {
            const QRgb *in = reinterpret_cast<const QRgb *>(straight.constScanLine(y));
            QRgb *out = reinterpret_cast<QRgb *>(result.scanLine(y));
            for (int x = 0; x < size; ++x) {
                if (qAlpha(in[x]) < 128) {
                    out[x] = key;
                    continue;
                }
                QRgb colour = coarse(in[x], shift);
                if (colour == key)
                    colour = qRgb(qRed(colour) ^ 1, qGreen(colour), qBlue(colour));
                out[x] = colour;
                colours.insert(colour);
            }
        }
        if (colours.size() <= 255)
            break;
    }
    return result;
}
