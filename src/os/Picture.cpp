#include "os/Picture.h"

#include "os/ScreenImage.h"
#include "os/PathMapper.h"
#include "os/PicturePrefetch.h"
#include "os/PlainBitmap.h"
#include "os/Services.h"
#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// The format named by the file's first bytes, for the two the program loads.
// Told the format and not to guess, the reader loads no image plugin for a
// bitmap and only its own for a GIF, where guessing loads and asks every
// plugin installed first. Anything else is left to the reader to recognise.
QByteArray formatOf(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QByteArrayLiteral("gif");
    return QByteArray();
}

// Whether a bitmap's file ends before the pixels its header announces. The
// reader decodes a cut-off bitmap without complaint and leaves the missing
// rows as whatever the memory held; such a file is as damaged as any other.
// Only uncompressed bitmaps say how long their pixels are.
bool bitmapCutShort(const QByteArray &head, qint64 fileSize)
{
    if (head.size() < 26)
        return true;
    const qint64 offset = littleEndian(head, 10, 4);
    const quint32 headerSize = littleEndian(head, 14, 4);
    qint64 width = 0, height = 0, bitsPerPixel = 0, compression = 0;
    if (headerSize == 12) {
        width = littleEndian(head, 18, 2);
        height = littleEndian(head, 20, 2);
        bitsPerPixel = littleEndian(head, 24, 2);
    } else if (head.size() >= 34) {
        width = qint32(littleEndian(head, 18, 4));
        height = qAbs(qint64(qint32(littleEndian(head, 22, 4))));
        bitsPerPixel = littleEndian(head, 28, 2);
        compression = littleEndian(head, 30, 4);
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (!uncompressed || width <= 0 || height <= 0 || bitsPerPixel <= 0)
        return false; // the reader judges these itself
    const qint64 bytesPerRow = (width * bitsPerPixel + 31) / 32 * 4;
    return fileSize < offset + bytesPerRow * height;
}

// The image the reader decodes a bitmap into, of the size and format its
// header announces; null for other formats, and the reader allocates its own,
// as it also does when the announcement proves wrong.
QImage decodeTarget(QImageReader &reader)
{
    const QImage::Format format = reader.imageFormat();
    const QSize size = reader.size();
    if (reader.format() != "bmp" || size.width() > kLargestPictureSide
        || size.height() > kLargestPictureSide
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32))
        return QImage();
    return screenImage(size.width(), size.height(), format);
}

} // namespace

qint32 pixelsToHimetric(int pixels, float twipsPerPixel)
{
    return Arithmetic::toLong(double(pixels) * 2540.0 * double(twipsPerPixel) / 1440.0);
}

Picture LoadPicture(const QString &windowsPath, ScreenMetrics &screen)
{
    // Decoded straight from the file: a screenshot is not first copied whole
    // into memory of its own.
    QFile file(mapWindowsPath(windowsPath));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        throw RuntimeError::fileNotFound(windowsPath);

    const QByteArray head = file.peek(34);
    const QByteArray format = formatOf(head);
    if (format == "bmp" && bitmapCutShort(head, file.size()))
        throw RuntimeError::invalidPicture(windowsPath);
    QImage image = takePrefetchedPicture(file.fileName());
    if (image.isNull() && format == "bmp")
        image = readPlainBitmap(file.handle());
    if (image.isNull()) {
        QImageReader reader(&file, format);
        reader.setAutoDetectImageFormat(format.isEmpty());
        // A panel's screenshot is at most a few thousand pixels wide; refuse
        // absurd headers before the decoder allocates for them.
        reader.setAllocationLimit(512);
        image = decodeTarget(reader);
        if (!reader.read(&image) || image.isNull() || image.width() <= 0 || image.height() <= 0)
            throw RuntimeError::invalidPicture(windowsPath);
    }

    Picture picture;
    // A bitmap is drawn opaque: whatever its fourth byte holds is no alpha to
    // the platform (capture tools write 32-bit files with an alpha mask and
    // every alpha byte 0). Only a GIF's transparent colour shows through.
    // (Qt reads such a bitmap as ARGB32 and converts that to RGB32 by setting
    // the alpha byte, leaving the colours as they are.)
    const bool bitmap = head.startsWith("BM");
    const bool opaque = bitmap || !image.hasAlphaChannel();
    picture.image = image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    picture.Width = pixelsToHimetric(image.width(), screen.twipsPerPixelX());
    picture.Height = pixelsToHimetric(image.height(), screen.twipsPerPixelY());
    return picture;
}
