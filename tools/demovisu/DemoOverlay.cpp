#include "demovisu/DemoOverlay.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kTemplateLeft = 1935; // stored place of the first symbol, twips
constexpr double kTemplateTop = 2910;
const QRgb kBlankColour = qRgb(192, 192, 192);

QString marker(const QString &tag, QLatin1String name)
{
    const qsizetype at = tag.indexOf(name);
    if (at < 0)
        return QString();
    const qsizetype start = at + name.size();
    const qsizetype end = tag.indexOf(QLatin1Char(';'), start);
    return end < 0 ? tag.mid(start) : tag.mid(start, end - start);
}

// Twips to whole pixels, halves to the even neighbour.
int pixels(double twips, int twipsPerPixel)
{
    return int(std::nearbyint(twips / twipsPerPixel));
}

// Leading number of a text, as the classic Val reads the plain cases here.
double leadingNumber(const QString &text)
{
    QString digits;
    for (const QChar c : text.trimmed()) {
        if (!c.isDigit() && c != QLatin1Char('.') && !(digits.isEmpty() && c == QLatin1Char('-')))
            break;
        digits += c;
    }
    return digits.toDouble();
}

bool isFooter(const DemoControl &control)
{
    // Upper-casing keeps ß as it is (QString::toUpper would make it SS).
    return control.name.compare(QStringLiteral("Fußzeile"), Qt::CaseInsensitive) == 0;
}

// ".a.b." for a control inside b inside a.
QString containerPath(const DemoLayout &layout, const DemoControl &control)
{
    QStringList chain;
    const DemoControl *current = &control;
    while (!current->container.isEmpty()) {
        const DemoControl *outer = layout.find(current->container, current->containerIndex);
        if (!outer)
            break;
        chain.prepend(QString::number(outer - layout.controls.data()));
        current = outer;
    }
    return QLatin1Char('.')
        + (chain.isEmpty() ? QString() : chain.join(QLatin1Char('.')) + QLatin1Char('.'));
}

} // namespace

int demoEntry(const DemoLayout &layout, const QString &name, int index)
{
    const DemoControl *control = layout.find(name, index);
    return control ? int(control - layout.controls.data()) : -1;
}

QRect demoSymbolRect(const DemoLayout &layout, int entry, QSize symbolSize)
{
    if (entry < 0 || entry >= int(layout.controls.size()))
        return QRect();
    const DemoControl &control = layout.controls[size_t(entry)];
    if (isFooter(control) || demoTopic(control.tag).isEmpty())
        return QRect();
    const int kTwips = layout.twipsPerPixel;
    auto pixels = [kTwips](double twips) { return ::pixels(twips, kTwips); };
    const double left = control.rect.left() * kTwips, top = control.rect.top() * kTwips;
    const double width = control.rect.width() * kTwips, height = control.rect.height() * kTwips;
    const double symbolWidth = symbolSize.width() * kTwips;
    const double symbolHeight = symbolSize.height() * kTwips;
    const double overhang = std::nearbyint(kTwips * (layout.width == 800 ? 7.0 : 11.0));
    const double widthFactor = layout.width / 1280.0;
    const QString tagX = marker(control.tag, QLatin1String("X="));
    const QString tagY = marker(control.tag, QLatin1String("Y="));

    // Each position snaps to whole pixels as it is set.
    int y = tagY == QLatin1String("C") ? pixels((height - symbolHeight) / 2 + top)
                                       : pixels(top - overhang);
    int x = pixels(kTemplateLeft);
    const int alignment = control.hasAlignment ? control.alignment : -1;
    if (tagX == QLatin1String("L"))
        x = pixels(left);
    else if (!tagX.isEmpty())
        x = pixels(widthFactor * leadingNumber(tagX) * kTwips + left);
    else if (alignment == 1 || alignment == -1)
        x = pixels(left - overhang);
    else if (alignment == 4)
        x = pixels(left + width - symbolWidth + overhang);
    else if (alignment == 7)
        x = pixels((width - symbolWidth) / 2 + left);

    const int screenHeight = layout.width == 800 ? 600 : 1024;
    x = std::max(x, 0);
    if (layout.width < x + symbolSize.width())
        x = layout.width - symbolSize.width();
    y = std::max(y, 0);
    if (screenHeight < y + symbolSize.height())
        y = screenHeight - symbolSize.height();
    return QRect(QPoint(x, y), symbolSize);
}

std::vector<DemoOverlayElement> demoOverlayElements(const DemoLayout &layout, QSize symbolSize)
{
    const int last = int(layout.controls.size()) - 1;
    std::vector<QString> paths;
    for (const DemoControl &control : layout.controls)
        paths.push_back(containerPath(layout, control));

    // Front is the end of the list.
    std::vector<DemoOverlayElement> order;
    auto toFront = [&](int entry, bool symbol) {
        auto it = std::find_if(order.begin(), order.end(),
            [&](const DemoOverlayElement &e) { return e.entry == entry && e.symbol == symbol; });
        DemoOverlayElement element;
        if (it != order.end()) {
            element = *it;
            order.erase(it);
        } else {
            element.entry = entry;
            element.symbol = symbol;
            element.rect = symbol ? demoSymbolRect(layout, entry, symbolSize)
                                  : layout.controls[size_t(entry)].rect;
            if (symbol && entry == 0 && element.rect.isNull()) {
                element.blank = true;
                element.rect = QRect(QPoint(pixels(kTemplateLeft, layout.twipsPerPixel),
                                         pixels(kTemplateTop, layout.twipsPerPixel)),
                    symbolSize);
            }
        }
        order.push_back(element);
    };
    std::vector<bool> shown(size_t(last + 1), false);
    for (int i = last; i >= 0; --i) {
        if (isFooter(layout.controls[size_t(i)]))
            continue;
        toFront(i, false);
        toFront(i, true);
        const QString inside = QStringLiteral(".%1.").arg(i);
        for (int j = last; j >= i; --j)
            if (paths[size_t(j)].contains(inside)) {
                toFront(j, false);
                toFront(j, true);
            }
        shown[size_t(i)] = true;
    }
    std::vector<DemoOverlayElement> visible;
    for (const DemoOverlayElement &e : order)
        if (shown[size_t(e.entry)] && !(e.symbol && e.rect.isNull()))
            visible.push_back(e);
    return visible;
}

int demoDimmed(int channel, int level)
{
    return int(std::lround(channel * level / 255.0));
}

QImage demoDimmedScreen(const QImage &screenshot, int level)
{
    QImage image = screenshot.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(demoDimmed(qRed(line[x]), level), demoDimmed(qGreen(line[x]), level),
                demoDimmed(qBlue(line[x]), level));
    }
    return image;
}

QImage demoExpectedOverlay(
    const QImage &screenshot, const DemoLayout &layout, const QImage &symbolImage, int level)
{
    const QImage dimmed = demoDimmedScreen(screenshot, level);
    QImage screen = dimmed.copy();
    const QImage symbol = symbolImage.convertToFormat(QImage::Format_ARGB32);
    const QRgb cyan = qRgb(0, 255, 255);
    for (const DemoOverlayElement &e : demoOverlayElements(layout, symbol.size())) {
        const QRect area = e.rect.intersected(screen.rect());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                QRgb pixel = dimmed.pixel(x, y);
                if (e.blank) {
                    pixel = kBlankColour;
                } else if (e.symbol) {
                    const QRgb s = symbol.pixel(x - e.rect.left(), y - e.rect.top());
                    if (qAlpha(s) == 255 && (s | 0xff000000) != cyan)
                        pixel = s | 0xff000000;
                }
                screen.setPixel(x, y, pixel);
            }
    }
    return screen;
}

QRect demoHelpButtonBox(const DemoLayout &layout)
{
    return QRect(0, layout.footerTop - 4, layout.helpButtonSize + 4, layout.helpButtonSize + 12);
}

QPoint demoClickableSymbol(
    const DemoLayout &layout, const QStringList &names, QSize symbolSize, int *entry)
{
    const std::vector<DemoOverlayElement> elements = demoOverlayElements(layout, symbolSize);
    for (const QString &name : names) {
        int index = -1;
        QString plain = name;
        if (name.endsWith(QLatin1Char(')')) && name.contains(QLatin1Char('('))) {
            const qsizetype open = name.indexOf(QLatin1Char('('));
            index = name.mid(open + 1, name.size() - open - 2).toInt();
            plain = name.left(open);
        }
        const int found = demoEntry(layout, plain, index);
        const QRect symbol = demoSymbolRect(layout, found, symbolSize);
        if (symbol.isNull())
            continue;
        const QPoint centre = symbol.center();
        for (auto it = elements.rbegin(); it != elements.rend(); ++it)
            if (it->rect.contains(centre)) {
                if (it->entry != found || !it->symbol)
                    break;
                if (entry)
                    *entry = found;
                return centre;
            }
    }
    if (entry)
        *entry = -1;
    return QPoint(-1, -1);
}

QStringList demoPageSymbols()
{
    return { QStringLiteral("ImgPumpe(0)"), QStringLiteral("ImgFueller"),
        QStringLiteral("CmdUebernehmen") };
}

QStringList demoMissingPageSymbols()
{
    return { QStringLiteral("CmdWartung") };
}
