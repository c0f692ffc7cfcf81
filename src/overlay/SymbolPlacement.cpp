#include "overlay/SymbolPlacement.h"

#include "os/Picture.h"
#include "overlay/MainForm.h"
#include "raster/Blit.h"
#include "raster/Colour.h"

QString symbolImagePath(const QString &appPath, const ScreenContext &context)
{
    return appPath + QStringLiteral("\\Tavlin_") + QString::number(context.DispHInt)
        + QStringLiteral(".gif");
}

std::vector<EntryPlacement> symbolLayout(MainForm &Main)
{
    PictureBox &image = *Main.ZwischenPic;
    image.setBackColor(Colour::Cyan);
    image.setPicture(
        LoadPicture(symbolImagePath(Main.appPath, Main.context()), *Main.services().screen));
    Main.Symbol(0).setWidth(image.Width());
    Main.Symbol(0).setHeight(image.Height());
    return layOutSymbols(
        Main.context(), Main.scale(), Main.Symbol(0).size(), symbolTemplatePosition(Main.scale()));
}

std::vector<EntryPlacement> symbolLayout(
    const ScreenContext &context, const QString &appPath, ScreenMetrics &screen)
{
    // The symbol takes the picture's size, as the template (AutoSize) does.
    const Picture symbol = LoadPicture(symbolImagePath(appPath, context), screen);
    const TwipsScale scale = screenTwipsScale(screen);
    return layOutSymbols(context, scale, symbol.image.size(), symbolTemplatePosition(scale));
}

void PlaceHelpSymbols(MainForm &Main)
{
    const ScreenContext &context = Main.context();
    const std::vector<EntryPlacement> placed = symbolLayout(Main);

    for (int n = 1; n <= context.LastEntry; ++n) {
        Main.Bild.Load(n);
        Main.Symbol.Load(n);
    }

    for (int i = context.LastEntry; i >= 0; --i) {
        const EntryPlacement &p = placed[size_t(i)];
        PictureBox &bild = Main.Bild(i);
        PictureBox &symbol = Main.Symbol(i);
        if (!p.shown) {
            bild.setVisibleProperty(false);
            symbol.setVisibleProperty(false);
            continue;
        }
        bild.setGeometryPixels(p.bild);
        BitBlt(bild.hDC(), 0, 0, p.source.width(), p.source.height(), Main.DunkelPic->hDC(),
            p.source.x(), p.source.y());
        if (p.symbol) {
            // The dimmed screenshot behind the symbol, then the image without its cyan.
            symbol.move(p.symbol->topLeft());
            const QRect &from = p.symbolSource;
            BitBlt(symbol.hDC(), 0, 0, from.width(), from.height(), Main.DunkelPic->hDC(), from.x(),
                from.y());
            TransparentBlt(symbol.hDC(), 0, 0, from.width(), from.height(), Main.ZwischenPic->hDC(),
                0, 0, from.width(), from.height(), Colour::Cyan);
        }
        for (const int j : p.raised) {
            Main.Bild(j).ZOrder();
            Main.Symbol(j).ZOrder();
        }
        bild.setVisibleProperty(true);
        if (p.symbol)
            symbol.setVisibleProperty(true);
    }
}
