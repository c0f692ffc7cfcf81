#include "model/SymbolLayout.h"

#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "semantics/AnsiText.h"
#include "semantics/Arithmetic.h"
#include "semantics/Val.h"

#include <algorithm>

namespace {

const QString kNoContainer = QStringLiteral("FALSE");

// A symbol as the form's element holds it: set in twips, kept in whole
// pixels, and read back in twips (Single) from those pixels.
class Symbol
{
public:
    Symbol(const TwipsScale &form, QSize size, QPoint home)
        : m_form(form)
        , m_rect(home, size)
    { }

    float Left() const { return m_form.toTwipsX(m_rect.x()); }
    float Top() const { return m_form.toTwipsY(m_rect.y()); }
    float Width() const { return m_form.toTwipsX(m_rect.width()); }
    float Height() const { return m_form.toTwipsY(m_rect.height()); }
    void setLeft(double twips) { m_rect.moveLeft(m_form.toPixelsX(twips)); }
    void setTop(double twips) { m_rect.moveTop(m_form.toPixelsY(twips)); }
    QRect rect() const { return m_rect; }

private:
    const TwipsScale &m_form;
    QRect m_rect;
};

void placeVertically(Symbol &symbol, const HelpEntry &entry, const ScreenContext &context)
{
    if (entry.TagY == QLatin1String("C"))
        symbol.setTop((float(entry.Height) - symbol.Height()) / 2.0f + float(entry.Top));
    else
        symbol.setTop(Arithmetic::sub(entry.Top, context.SymbolOverhang));
}

void placeHorizontally(Symbol &symbol, const HelpEntry &entry, const ScreenContext &context)
{
    if (entry.TagX == QLatin1String("L")) {
        symbol.setLeft(entry.Left);
    } else if (!entry.TagX.isEmpty()) {
        // TagX is an offset in pixels of a 1280-pixel-wide reference screen.
        symbol.setLeft(context.WidthFactor * Val(entry.TagX) * double(context.TwipsPerPixelX)
            + double(entry.Left));
    } else if (entry.Alignment == 1 || entry.Alignment == -1) {
        symbol.setLeft(Arithmetic::sub(entry.Left, context.SymbolOverhang));
    } else if (entry.Alignment == 4) {
        const qint16 right = Arithmetic::add(entry.Left, entry.Width);
        symbol.setLeft(float(right) - symbol.Width() + float(context.SymbolOverhang));
    } else if (entry.Alignment == 7) {
        symbol.setLeft((float(entry.Width) - symbol.Width()) / 2.0f + float(entry.Left));
    }
    // Any other alignment keeps the symbol where it is.
}

// Keeps the symbol inside the described screen: left, right, top, bottom, each
// on the values as read back, the edge tests in Single.
void keepOnScreen(Symbol &symbol, const ScreenContext &context)
{
    if (symbol.Left() < 0)
        symbol.setLeft(0);
    const float screenWidth = float(context.DispHInt) * context.TwipsPerPixelX;
    if (screenWidth < symbol.Left() + symbol.Width())
        symbol.setLeft(screenWidth - symbol.Width());
    if (symbol.Top() < 0)
        symbol.setTop(0);
    const float screenHeight = float(context.DispVInt) * context.TwipsPerPixelY;
    if (screenHeight < symbol.Top() + symbol.Height())
        symbol.setTop(screenHeight - symbol.Height());
}

// An area of the form (read back in twips) on the dimmed screenshot, in the
// description's twips per pixel.
QRect onScreenshot(const TwipsScale &form, QRect area, const ScreenContext &context)
{
    const float x = context.TwipsPerPixelX;
    const float y = context.TwipsPerPixelY;
    return QRect(Twips::toLongPixels(form.toTwipsX(area.x()), x),
        Twips::toLongPixels(form.toTwipsY(area.y()), y),
        Twips::toLongPixels(form.toTwipsX(area.width()), x),
        Twips::toLongPixels(form.toTwipsY(area.height()), y));
}

} // namespace

std::vector<EntryPlacement> layOutSymbols(
    const ScreenContext &context, const TwipsScale &form, QSize symbolSize, QPoint symbolHome)
{
    const int last = context.LastEntry;
    std::vector<EntryPlacement> placed(size_t(std::max(last + 1, 0)));
    for (int i = last; i >= 0; --i) {
        const HelpEntry &entry = context.HelpEntries[size_t(i)];
        EntryPlacement &p = placed[size_t(i)];
        if (UCase(entry.Name) == VisuLayout::kFooterName || entry.ContainerPath == kNoContainer)
            continue;
        p.shown = true;
        p.bild = QRect(form.toPixelsX(entry.Left), form.toPixelsY(entry.Top),
            std::max(form.toPixelsX(entry.Width), 0), std::max(form.toPixelsY(entry.Height), 0));
        p.source = onScreenshot(form, p.bild, context);
        p.source.moveTopLeft(QPoint(Twips::toLongPixels(entry.Left, context.TwipsPerPixelX),
            Twips::toLongPixels(entry.Top, context.TwipsPerPixelY)));
        if (!entry.Tag.isEmpty()) {
            Symbol symbol(form, symbolSize, symbolHome);
            placeVertically(symbol, entry, context);
            placeHorizontally(symbol, entry, context);
            keepOnScreen(symbol, context);
            p.symbol = symbol.rect();
            p.symbolSource = onScreenshot(form, symbol.rect(), context);
        }
        // Each entry comes to the front, then everything nested in it (its
        // number between dots anywhere in the path) comes above it again.
        p.raised.push_back(i);
        const QString nested = QLatin1Char('.') + QString::number(i) + QLatin1Char('.');
        for (int j = last; j >= i; --j)
            if (context.HelpEntries[size_t(j)].ContainerPath.contains(nested))
                p.raised.push_back(j);
    }
    return placed;
}

std::vector<int> stackedBottomUp(const std::vector<EntryPlacement> &placed)
{
    std::vector<int> stack;
    for (int i = int(placed.size()) - 1; i >= 0; --i) {
        for (const int j : placed[size_t(i)].raised) {
            stack.erase(std::remove(stack.begin(), stack.end(), j), stack.end());
            stack.push_back(j);
        }
    }
    stack.erase(
        std::remove_if(stack.begin(), stack.end(), [&](int j) { return !placed[size_t(j)].shown; }),
        stack.end());
    return stack;
}
