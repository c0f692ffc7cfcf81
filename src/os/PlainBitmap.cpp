#include "os/PlainBitmap.h"

#include "os/ScreenImage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Qt's reader converts such a file pixel by pixel through its general code;
// for a screenshot that is several milliseconds of the overlay's start, and
// this is a fraction of it.

namespace {

constexpr int kHeaderEnd = 14 + 40;
constexpr qint64 kChunkBytes = 64 * 1024;

// One row of blue, green, red (and an unused fourth) bytes as opaque pixels.
template<int BytesPerPixel> void convertRow(const uchar *from, QRgb *to, int width)
{
    for (int i = 0; i < width; ++i, from += BytesPerPixel)
        to[i] = 0xFF000000u | (quint32(from[2]) << 16) | (quint32(from[1]) << 8) | from[0];
}

// Reads `bytes` bytes at `offset`, however many calls that takes.
bool readAt(int fd, void *to, qint64 bytes, qint64 offset)
{
    auto *at = static_cast<char *>(to);
    while (bytes > 0) {
        const ssize_t got = ::pread(fd, at, size_t(bytes), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        offset += got;
        bytes -= got;
    }
    return true;
}

QImage plainBitmapTarget(int width, int height)
{
    const QImage image = screenImage(width, height, QImage::Format_RGB32);
    return image.isNull() ? QImage(width, height, QImage::Format_RGB32) : image;
}

} // namespace

quint32 littleEndian(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

QImage readPlainBitmap(int fd)
{
    QByteArray head(kHeaderEnd, Qt::Uninitialized);
    struct stat status;
    if (::fstat(fd, &status) != 0 || !readAt(fd, head.data(), kHeaderEnd, 0)
        || !head.startsWith("BM"))
        return QImage();
    const qint64 offset = littleEndian(head, 10, 4);
    const qint32 width = qint32(littleEndian(head, 18, 4));
    const qint32 rawHeight = qint32(littleEndian(head, 22, 4));
    const quint32 bits = littleEndian(head, 28, 2);
    if (littleEndian(head, 14, 4) != 40 || littleEndian(head, 26, 2) != 1
        || (bits != 24 && bits != 32) || littleEndian(head, 30, 4) != 0)
        return QImage();
    if (width < 1 || width > kLargestPictureSide || rawHeight == 0
        || rawHeight < -kLargestPictureSide || rawHeight > kLargestPictureSide)
        return QImage();
    const int height = std::abs(rawHeight);
    const qint64 rowBytes = (qint64(width) * bits + 31) / 32 * 4;
    if (offset < kHeaderEnd || offset + rowBytes * height > status.st_size)
        return QImage();

    QImage image = plainBitmapTarget(width, height);
    if (image.isNull())
        return QImage();
    const int rowsPerChunk = int(std::max<qint64>(1, kChunkBytes / rowBytes));
    std::vector<uchar> chunk(size_t(rowsPerChunk * rowBytes));
    for (int row = 0; row < height;) {
        const int rows = std::min(rowsPerChunk, height - row);
        if (!readAt(fd, chunk.data(), rows * rowBytes, offset + row * rowBytes))
            return QImage();
        for (int r = 0; r < rows; ++r, ++row) {
            // Rows are stored bottom-up unless the height is negative.
            auto *to
                = reinterpret_cast<QRgb *>(image.scanLine(rawHeight > 0 ? height - 1 - row : row));
            const uchar *from = chunk.data() + r * rowBytes;
            if (bits == 24)
                convertRow<3>(from, to, width);
            else
                convertRow<4>(from, to, width);
        }
    }
    return image;
}
