#include "overlay/SymbolPlacement.h"

#include "form/MainForm.h"
#include "os/Picture.h"
#include "raster/Blit.h"
#include "raster/Colour.h"
#include "semantics/AnsiText.h"
#include "semantics/Arithmetic.h"
#include "semantics/Twips.h"
#include "semantics/Val.h"
#include "state/VisuLayout.h"

namespace {

const QString kNoContainer = QStringLiteral("FALSE");

void placeVertically(PictureBox &symbol, const HelpEntry &entry, const ScreenContext &context)
{
    if (entry.TagY == QLatin1String("C"))
        symbol.setTop((float(entry.Height) - symbol.Height()) / 2.0f + float(entry.Top));
    else
        symbol.setTop(Arithmetic::sub(entry.Top, context.SymbolOverhang));
}

void placeHorizontally(PictureBox &symbol, const HelpEntry &entry, const ScreenContext &context)
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
    // Any other alignment keeps the Left the element already has.
}

// Keeps the symbol inside the described screen: left, right, top, bottom, each
// on the values as read back, the edge tests in Single.
void keepOnScreen(PictureBox &symbol, const ScreenContext &context)
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

// The dimmed screenshot behind the symbol, then the image without its cyan.
void drawSymbol(MainForm &Main, PictureBox &symbol, const ScreenContext &context)
{
    const qint32 x = Twips::toLongPixels(symbol.Left(), context.TwipsPerPixelX);
    const qint32 y = Twips::toLongPixels(symbol.Top(), context.TwipsPerPixelY);
    const qint32 w = Twips::toLongPixels(symbol.Width(), context.TwipsPerPixelX);
    const qint32 h = Twips::toLongPixels(symbol.Height(), context.TwipsPerPixelY);
    BitBlt(symbol.hDC(), 0, 0, w, h, Main.DunkelPic->hDC(), x, y);
    TransparentBlt(symbol.hDC(), 0, 0, w, h, Main.ZwischenPic->hDC(), 0, 0, w, h, Colour::Cyan);
}

} // namespace

QString symbolImagePath(const QString &appPath, const ScreenContext &context)
{
    return appPath + QStringLiteral("\\Tavlin_") + QString::number(context.DispHInt)
        + QStringLiteral(".gif");
}

void PlaceHelpSymbols(MainForm &Main)
{
    const ScreenContext &context = Main.context();

    PictureBox &image = *Main.ZwischenPic;
    image.setBackColor(Colour::Cyan);
    image.setPicture(LoadPicture(symbolImagePath(Main.appPath, context)));
    Main.Symbol(0).setWidth(image.Width());
    Main.Symbol(0).setHeight(image.Height());

    for (int n = 1; n <= context.LastEntry; ++n) {
        Main.Bild.Load(n);
        Main.Symbol.Load(n);
    }

    for (int i = context.LastEntry; i >= 0; --i) {
        const HelpEntry &entry = context.HelpEntries[size_t(i)];
        PictureBox &bild = Main.Bild(i);
        PictureBox &symbol = Main.Symbol(i);

        if (UCase(entry.Name) == VisuLayout::kFooterName || entry.ContainerPath == kNoContainer) {
            bild.setVisibleProperty(false);
            symbol.setVisibleProperty(false);
            continue;
        }

        bild.setLeft(entry.Left);
        bild.setTop(entry.Top);
        bild.setWidth(entry.Width);
        bild.setHeight(entry.Height);
        const float tx = context.TwipsPerPixelX;
        const float ty = context.TwipsPerPixelY;
        BitBlt(bild.hDC(), 0, 0, Twips::toLongPixels(bild.Width(), tx),
            Twips::toLongPixels(bild.Height(), ty), Main.DunkelPic->hDC(),
            Twips::toLongPixels(entry.Left, tx), Twips::toLongPixels(entry.Top, ty));

        if (!entry.Tag.isEmpty()) {
            placeVertically(symbol, entry, context);
            placeHorizontally(symbol, entry, context);
            keepOnScreen(symbol, context);
            drawSymbol(Main, symbol, context);
        }

        // Each entry comes to the front, then everything nested in it (its
        // number between dots anywhere in the path) comes above it again.
        bild.ZOrder();
        symbol.ZOrder();
        const QString nested = QLatin1Char('.') + QString::number(i) + QLatin1Char('.');
        for (int j = context.LastEntry; j >= i; --j) {
            if (context.HelpEntries[size_t(j)].ContainerPath.contains(nested)) {
                Main.Bild(j).ZOrder();
                Main.Symbol(j).ZOrder();
            }
        }

        bild.setVisibleProperty(true);
        if (!entry.Tag.isEmpty())
            symbol.setVisibleProperty(true);
    }
}
