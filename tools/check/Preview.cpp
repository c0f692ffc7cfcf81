#include "check/Preview.h"

#include "check/CheckReport.h"
#include "overlay/MainForm.h"

#include <QFont>
#include <QFontMetrics>
#include <QMap>
#include <QPainter>

namespace {

// Where entry i is on the screen: its control picture and its symbol, or
// for an entry the overlay hides, the rectangle the description gives.
QRect entryArea(MainForm &Main, int i)
{
    const ScreenContext &context = Main.context();
    if (!Main.Bild.exists(i))
        return QRect();
    QRect area;
    if (!Main.Bild(i).isHidden())
        area = Main.Bild(i).geometry();
    if (!Main.Symbol(i).isHidden())
        area |= Main.Symbol(i).geometry();
    if (area.isNull()) {
        const HelpEntry &entry = context.HelpEntries[size_t(i)];
        area = QRect(qRound(entry.Left / context.TwipsPerPixelX),
            qRound(entry.Top / context.TwipsPerPixelY),
            qRound(entry.Width / context.TwipsPerPixelX),
            qRound(entry.Height / context.TwipsPerPixelY));
    }
    return area;
}

} // namespace

QImage renderPreview(MainForm &Main, const CheckReport &report, QVector<QRect> *marks)
{
    const ScreenContext &context = Main.context();
    const QSize screen = context.DispVInt > 0 ? QSize(context.DispHInt, context.DispVInt)
                                              : context.ScreenPicture.image.size();
    QImage image
        = Main.grab(QRect(QPoint(0, 0), screen)).toImage().convertToFormat(QImage::Format_RGB32);

    QMap<int, bool> errors; // entry -> has an error
    for (const Finding &finding : report.findings)
        if (finding.entry >= 0 && finding.entry <= context.LastEntry)
            errors[finding.entry] |= finding.severity == Finding::Severity::Error;

    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (auto it = errors.cbegin(); it != errors.cend(); ++it) {
        const QRect area = entryArea(Main, it.key());
        if (area.isNull())
            continue;
        const QColor colour = it.value() ? QColor(230, 30, 30) : QColor(255, 150, 0);
        const QRect outline = area.adjusted(-2, -2, 1, 1);
        painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline);
        const QString number = QString::number(it.key());
        QRect label(0, 0, metrics.horizontalAdvance(number) + 6, metrics.height() + 2);
        label.moveBottomLeft(outline.topLeft() + QPoint(-1, -1));
        if (label.top() < 0)
            label.moveTopLeft(outline.bottomLeft() + QPoint(-1, 2));
        painter.fillRect(label, colour);
        painter.setPen(Qt::white);
        painter.drawText(label, Qt::AlignCenter, number);
        if (marks)
            *marks << outline.adjusted(-2, -2, 2, 2) << label.adjusted(-1, -1, 1, 1);
    }
    return image;
}
