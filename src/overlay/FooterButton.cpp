#include "overlay/FooterButton.h"

#include "model/VisuLayout.h"
#include "os/FileSystem.h"
#include "os/Picture.h"
#include "os/Services.h"
#include "overlay/ButtonFrame.h"
#include "overlay/MainForm.h"
#include "raster/Blit.h"
#include "raster/Colour.h"
#include "semantics/NumberText.h"
#include "semantics/RuntimeError.h"
#include "semantics/Twips.h"

namespace {

// The button image file as a picture. The overlay build draws the latched
// button into every dimming pass from the same file, so the picture decoded
// last is kept with the bytes and screen factors it came from and used again
// while they are the same. The file is read every time: one that has gone,
// changed or cannot be decoded is drawn (or not) as it is now.
Picture loadButtonPicture(const QString &path, ScreenMetrics &screen)
{
    struct Decoded
    {
        QString path;
        QByteArray bytes;
        float twipsX = 0;
        float twipsY = 0;
        Picture picture;
    };
    // Kept for the run, like the form it is drawn on: one file, read each pass.
    static Decoded last;
    const float twipsX = screen.twipsPerPixelX();
    const float twipsY = screen.twipsPerPixelY();
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (bytes && !last.picture.isNull() && path == last.path && *bytes == last.bytes
        && twipsX == last.twipsX && twipsY == last.twipsY)
        return last.picture;
    Picture picture = LoadPicture(path, screen);
    // Kept only when the file did not change while it was decoded.
    if (bytes && readWholeFile(path) == bytes)
        last = Decoded { path, *bytes, twipsX, twipsY, picture };
    return picture;
}

// Loads the button image into ZwischenPic on silver. False when the file is
// missing or no picture; every other error goes on to the caller.
bool loadButtonImage(MainForm &Main)
{
    Main.ZwischenPic->setBackColor(Colour::Silver);
    try {
        Main.ZwischenPic->setPicture(
            loadButtonPicture(footerButtonImagePath(Main.context()), *Main.services().screen));
    } catch (const RuntimeError &error) {
        constexpr int fileNotFound = 53;
        constexpr int invalidPicture = 481;
        if (error.number() == fileNotFound || error.number() == invalidPicture)
            return false;
        throw;
    }
    return true;
}

// Draws one look: frame, then the image at (x, y), then refreshes the surface.
void drawLook(
    MainForm &Main, DrawingSurface &surface, quint32 leg, quint32 hypotenuse, int x, int y)
{
    const ScreenContext &context = Main.context();
    DrawButtonFrame(context, surface, Colour::Silver, leg, hypotenuse);
    if (loadButtonImage(Main)) {
        const DeviceContext target = surface.hDC();
        const PictureBox &image = *Main.ZwischenPic;
        const qint32 w = Twips::toLongPixels(image.Width(), context.TwipsPerPixelX);
        const qint32 h = Twips::toLongPixels(image.Height(), context.TwipsPerPixelY);
        BitBlt(target, x, y, w, h, Main.ZwischenPic->hDC(), 0, 0);
    }
    surface.Refresh();
}

} // namespace

QString footerButtonImagePath(const ScreenContext &context)
{
    return VisuLayout::footerButtonImage(context.VisuPfad, Trim(Str(qint64(context.DispHInt))));
}

void DrawHelpButtonUp(MainForm &Main, qint16 button)
{
    if (button != 1)
        return;
    const bool narrow = Main.context().DispHInt == 800;
    drawLook(Main, Main, Colour::White, Colour::Grey, narrow ? 2 : 4, narrow ? 539 : 920);
}

void DrawHelpButtonDown(MainForm &Main, DrawingSurface &surface, qint16 button)
{
    if (button != 1)
        return;
    const bool narrow = Main.context().DispHInt == 800;
    drawLook(Main, surface, Colour::Grey, Colour::White, narrow ? 3 : 5, narrow ? 540 : 921);
}
