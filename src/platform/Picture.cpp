#include "platform/Picture.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>

qint32 pixelsToHimetric(int pixels, float twipsPerPixel)
{
    return static_cast<qint32>(std::lround(double(pixels) * 2540.0 * double(twipsPerPixel) / 1440.0));
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
    picture.image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                  : QImage::Format_RGB32);
    picture.Width = pixelsToHimetric(image.width(), platform().screen->twipsPerPixelX());
    picture.Height = pixelsToHimetric(image.height(), platform().screen->twipsPerPixelY());
    return picture;
}
