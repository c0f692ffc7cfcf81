#include "overlay/Dimming.h"

#include "overlay/FooterButton.h"
#include "overlay/MainForm.h"
#include "raster/Blit.h"
#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"
#include "semantics/Twips.h"

namespace {

// The size of the copy onto the form, height first as the copy reads it.
QSize copySize(const ScreenContext &context)
{
    const qint32 height = Twips::toLongPixels(context.ScreenPicture.Height, context.TwipsPerPixelY);
    const qint32 width = Twips::toLongPixels(context.ScreenPicture.Width, context.TwipsPerPixelX);
    return QSize(width, height);
}

// Whether the copy would land the whole buffer on the form pixel for pixel;
// false too when its size cannot be computed (no twips per pixel, or beyond
// the Long range), so that the error comes where the copy is.
bool copyCoversBuffer(const ScreenContext &context, const QSize &buffer)
{
    // No twips per pixel gives no number (infinite or NaN), which compares false.
    const double width
        = Arithmetic::roundHalfEven(context.ScreenPicture.Width / double(context.TwipsPerPixelX));
    const double height
        = Arithmetic::roundHalfEven(context.ScreenPicture.Height / double(context.TwipsPerPixelY));
    constexpr double kLongMax = 2147483647.0;
    return width >= buffer.width() && height >= buffer.height() && width <= kLongMax
        && height <= kLongMax;
}

} // namespace

void PrepareDimming(MainForm &Main)
{
    Main.applyNewSize();
    PictureBox &buffer = *Main.DunkelPic;
    if (!copyCoversBuffer(Main.context(), buffer.imageSize()) || !buffer.fitsInHostImage(Main))
        buffer.applyNewSize();
}

// The frame on the form is the buffer blended, with the button drawn on it,
// copied to the form's top-left corner. So the buffer is the form's top-left
// part itself (the same memory): the blend writes the form's pixels, the
// button is drawn on them, and the copy would be a copy of the buffer onto
// itself. One pass over the screen, and over the screenshot alone when the
// buffer was cleared. What the form draws later (the mouse handlers) goes to
// a copy of the form's image and never reaches the buffer, which the symbol
// placement copies from; see DrawingSurface::shareHostImage.
void DimScreen(MainForm &Main, qint16 level)
{
    if (level < 0 || level > 255)
        throw RuntimeError::overflow();
    const auto opacity = static_cast<quint8>(level);

    PictureBox &buffer = *Main.DunkelPic;
    PictureBox &original = *Main.OriginalPic;
    QRgb cleared = 0;
    const bool oneColour = buffer.holdsOneColour(cleared);
    const ScreenContext &context = Main.context();
    // Blended over one colour, every pixel of the buffer is written without
    // being read: what it holds now need not be made or copied.
    if (copyCoversBuffer(context, buffer.imageSize()))
        buffer.shareHostImage(Main, oneColour);

    const DeviceContext bufferDc = buffer.hDC();
    const qint32 bufferWidth = buffer.ScaleWidth();
    const qint32 bufferHeight = buffer.ScaleHeight();
    const DeviceContext originalDc = original.hDC();
    const qint32 originalWidth = original.ScaleWidth();
    const qint32 originalHeight = original.ScaleHeight();

    if (oneColour)
        AlphaBlendOverOneColour(bufferDc, 0, 0, bufferWidth, bufferHeight, originalDc, 0, 0,
            originalWidth, originalHeight, opacity, cleared);
    else
        AlphaBlend(bufferDc, 0, 0, bufferWidth, bufferHeight, originalDc, 0, 0, originalWidth,
            originalHeight, opacity);

    DrawHelpButtonDown(Main, buffer, 1);

    const QSize size = copySize(context);
    if (!buffer.sharesHostImage(Main))
        BitBlt(Main.hDC(), 0, 0, size.width(), size.height(), buffer.hDC(), 0, 0);
}
