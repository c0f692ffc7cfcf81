#include "overlay/Dimming.h"

#include "form/MainForm.h"
#include "overlay/FooterButton.h"
#include "raster/Blit.h"
#include "semantics/RuntimeError.h"
#include "semantics/Twips.h"

void DimScreen(MainForm &Main, qint16 level)
{
    if (level < 0 || level > 255)
        throw RuntimeError::overflow();
    const auto opacity = static_cast<quint8>(level);

    PictureBox &buffer = *Main.DunkelPic;
    PictureBox &original = *Main.OriginalPic;
    const DeviceContext bufferDc = buffer.hDC();
    const qint32 bufferWidth = buffer.ScaleWidth();
    const qint32 bufferHeight = buffer.ScaleHeight();
    const DeviceContext originalDc = original.hDC();
    const qint32 originalWidth = original.ScaleWidth();
    const qint32 originalHeight = original.ScaleHeight();

    AlphaBlend(bufferDc, 0, 0, bufferWidth, bufferHeight, originalDc, 0, 0, originalWidth,
        originalHeight, opacity);

    DrawHelpButtonDown(Main, buffer, 1);

    const ScreenContext &context = Main.context();
    const qint32 height = Twips::toLongPixels(context.ScreenPicture.Height, context.TwipsPerPixelY);
    const qint32 width = Twips::toLongPixels(context.ScreenPicture.Width, context.TwipsPerPixelX);
    BitBlt(Main.hDC(), 0, 0, width, height, buffer.hDC(), 0, 0);
}
