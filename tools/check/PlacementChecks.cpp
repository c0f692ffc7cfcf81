#include "check/PlacementChecks.h"

#include "check/CheckReport.h"
#include "model/ScreenContext.h"
#include "model/SymbolLayout.h"

#include <QRegion>
#include <algorithm>

namespace {

struct Element
{
    QRect area;
    int entry = 0;
    bool symbol = false;
};

QString describe(const Element &element, const ScreenContext &context)
{
    return QStringLiteral("the %1 of entry %2 (%3)")
        .arg(element.symbol ? QStringLiteral("symbol") : QStringLiteral("control picture"))
        .arg(element.entry)
        .arg(context.HelpEntries[size_t(element.entry)].Name);
}

// Pixels between two rectangles; 0 when they touch or overlap.
int gap(const QRect &a, const QRect &b)
{
    const int dx = std::max({ 0, a.left() - b.right() - 1, b.left() - a.right() - 1 });
    const int dy = std::max({ 0, a.top() - b.bottom() - 1, b.top() - a.bottom() - 1 });
    return std::max(dx, dy);
}

Finding finding(Finding::Severity severity, const char *kind, int entry,
    const ScreenContext &context, const QString &message)
{
    Finding f;
    f.severity = severity;
    f.kind = QLatin1String(kind);
    f.entry = entry;
    f.name = context.HelpEntries[size_t(entry)].Name;
    f.element = QStringLiteral("Symbol(%1)").arg(entry);
    f.message = message;
    return f;
}

} // namespace

void checkPlacement(
    const ScreenContext &context, const std::vector<EntryPlacement> &placed, CheckReport &report)
{
    QVector<Element> stack; // from the bottom to the top
    for (const int i : stackedBottomUp(placed)) {
        stack.append({ placed[size_t(i)].bild, i, false });
        if (placed[size_t(i)].symbol)
            stack.append({ *placed[size_t(i)].symbol, i, true });
    }

    const QRect screen(0, 0, context.DispHInt, context.DispVInt);
    for (int s = 0; s < stack.size(); ++s) {
        const Element &symbol = stack.at(s);
        if (!symbol.symbol)
            continue;
        const QRect place = symbol.area;
        const QRect control = placed[size_t(symbol.entry)].bild;

        const bool atEdge = place.left() == screen.left() || place.right() == screen.right()
            || place.top() == screen.top() || place.bottom() == screen.bottom();
        const int distance = gap(place, control);
        if (atEdge && distance > std::max(place.width(), place.height()))
            report.add(finding(Finding::Severity::Warning, "symbol-pushed", symbol.entry, context,
                QStringLiteral("the screen's edge holds the symbol at (%1, %2), %3 pixels away "
                               "from its control at (%4, %5)")
                    .arg(place.left())
                    .arg(place.top())
                    .arg(distance)
                    .arg(control.left())
                    .arg(control.top())));

        QRegion open(place);
        QStringList over;
        const Element *sameSpot = nullptr;
        for (int a = s + 1; a < stack.size(); ++a) {
            const Element &above = stack.at(a);
            const QRect area = above.area;
            if (!area.intersects(place))
                continue;
            if (above.symbol && area == place && !sameSpot)
                sameSpot = &above;
            open -= area;
            over << describe(above, context);
        }
        if (sameSpot) {
            report.add(finding(Finding::Severity::Error, "symbols-same-spot", symbol.entry, context,
                QStringLiteral("on the same spot (%1, %2) as %3, which lies above it: this "
                               "symbol cannot be clicked")
                    .arg(place.left())
                    .arg(place.top())
                    .arg(describe(*sameSpot, context))));
        } else if (open.isEmpty()) {
            report.add(finding(Finding::Severity::Error, "symbol-covered", symbol.entry, context,
                QStringLiteral("covered by %1: the operator cannot click it")
                    .arg(over.join(QLatin1String(", ")))));
        }
    }
}
