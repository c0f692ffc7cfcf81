#include "demovisu/BmpWriter.h"

namespace {

void appendLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray encodeBmp24(const QImage &source)
{
    if (source.isNull())
        return QByteArray();
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const quint32 width = static_cast<quint32>(image.width());
    const quint32 height = static_cast<quint32>(image.height());
    const quint32 rowBytes = (width * 3 + 3) & ~3u; // rows are padded to four bytes
    const quint32 dataOffset = 14 + 40;
    const quint32 fileSize = dataOffset + rowBytes * height;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(fileSize));
    // BITMAPFILEHEADER
    out.append("BM", 2);
    appendLittleEndian(out, fileSize, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, dataOffset, 4);
    // BITMAPINFOHEADER: 96 dots per inch (3780 per metre)
    appendLittleEndian(out, 40, 4);
    appendLittleEndian(out, width, 4);
    appendLittleEndian(out, height, 4);
    appendLittleEndian(out, 1, 2);
    appendLittleEndian(out, 24, 2);
    appendLittleEndian(out, 0, 4); // BI_RGB
    appendLittleEndian(out, rowBytes * height, 4);
    appendLittleEndian(out, 3780, 4);
    appendLittleEndian(out, 3780, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, 0, 4);

    for (int y = image.height() - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (quint32 x = 0; x < width; ++x) {
            out.append(static_cast<char>(qBlue(line[x])));
            out.append(static_cast<char>(qGreen(line[x])));
            out.append(static_cast<char>(qRed(line[x])));
        }
        for (quint32 pad = width * 3; pad < rowBytes; ++pad)
            out.append('\0');
    }
    return out;
}
