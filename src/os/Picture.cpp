#include "os/Picture.h"

#include "os/FileSystem.h"
#include "os/Platform.h"
#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"

#include <QBuffer>
#include <QImageReader>

qint32 pixelsToHimetric(int pixels, float twipsPerPixel)
{
    return Arithmetic::toLong(double(pixels) * 2540.0 * double(twipsPerPixel) / 1440.0);
}

Picture LoadPicture(const QString &windowsPath)
{
    const std::optional<QByteArray> bytes = readWholeFile(windowsPath);
    if (!bytes)
        throw RuntimeError::fileNotFound(windowsPath);

    QBuffer buffer;
    buffer.setData(*bytes);
    QImageReader reader(&buffer);
    // A panel's screenshot is at most a few thousand pixels wide; refuse absurd
    // headers before the decoder allocates for them.
    reader.setAllocationLimit(512);
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw RuntimeError::invalidPicture(windowsPath);

    Picture picture;
    // A bitmap is drawn opaque: whatever its fourth byte holds is no alpha to
    // the platform (capture tools write 32-bit files with an alpha mask and
    // every alpha byte 0). Only a GIF's transparent colour shows through.
    // (Qt reads such a bitmap as ARGB32 and converts that to RGB32 by setting
    // the alpha byte, leaving the colours as they are.)
    const bool bitmap = bytes->startsWith("BM");
    const bool opaque = bitmap || !image.hasAlphaChannel();
    picture.image = image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    picture.Width = pixelsToHimetric(image.width(), platform().screen->twipsPerPixelX());
    picture.Height = pixelsToHimetric(image.height(), platform().screen->twipsPerPixelY());
    return picture;
}
