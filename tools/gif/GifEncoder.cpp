#include "gif/GifEncoder.h"

#include <QHash>
#include <QSaveFile>
#include <QVector>

namespace {

// The pixels as colour-table indexes, one byte each, rows top to bottom.
struct IndexedPixels
{
    QVector<QRgb> colours; // alpha 0 marks the transparent entry
    int transparent = -1;
    QByteArray indexes;
};

void appendWord(QByteArray &out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Bits needed for `count` colours; at least 1 (a table of two entries).
int bitsFor(int count)
{
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

} // namespace

bool GifEncoder::fail(const QString &message)
{
    m_error = message;
    return false;
}

QByteArray GifEncoder::encode(const QImage &source)
{
    m_error.clear();
    m_statistics = LzwEncoder::Statistics();
    if (source.isNull() || source.width() < 1 || source.height() < 1) {
        fail(QStringLiteral("the image is empty"));
        return QByteArray();
    }
    if (source.width() > 0xFFFF || source.height() > 0xFFFF) {
        fail(QStringLiteral("a GIF image is at most 65535 pixels wide and high"));
        return QByteArray();
    }

    const int width = source.width();
    const int height = source.height();
    IndexedPixels pixels;
    pixels.indexes.resize(static_cast<qsizetype>(width) * height);

    const QImage::Format format = source.format();
    const bool indexed = format == QImage::Format_Indexed8 || format == QImage::Format_Mono
        || format == QImage::Format_MonoLSB;
    if (indexed) {
        const QImage image = format == QImage::Format_Indexed8
            ? source
            : source.convertToFormat(QImage::Format_Indexed8);
        pixels.colours = image.colorTable();
        if (pixels.colours.isEmpty() || pixels.colours.size() > 256) {
            fail(QStringLiteral("the colour table must hold 1 to 256 colours"));
            return QByteArray();
        }
        if (m_transparentIndex >= pixels.colours.size()) {
            fail(QStringLiteral("the transparent index %1 lies outside the colour table")
                     .arg(m_transparentIndex));
            return QByteArray();
        }
        pixels.transparent = m_transparentIndex;
        if (pixels.transparent < 0) {
            for (int i = 0; i < pixels.colours.size(); ++i) {
                if (qAlpha(pixels.colours.at(i)) == 0) {
                    pixels.transparent = i;
                    break;
                }
            }
        }
        char *out = pixels.indexes.data();
        for (int y = 0; y < height; ++y) {
            const uchar *line = image.constScanLine(y);
            for (int x = 0; x < width; ++x) {
                if (line[x] >= pixels.colours.size()) {
                    fail(QStringLiteral("pixel (%1, %2) uses index %3 beyond the colour table")
                             .arg(x)
                             .arg(y)
                             .arg(line[x]));
                    return QByteArray();
                }
                *out++ = static_cast<char>(line[x]);
            }
        }
    } else {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        QHash<QRgb, int> lookup;
        char *out = pixels.indexes.data();
        for (int y = 0; y < height; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const QRgb colour
                    = qAlpha(line[x]) == 0 ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
                auto it = lookup.constFind(colour);
                if (it == lookup.constEnd()) {
                    if (pixels.colours.size() == 256) {
                        fail(QStringLiteral("the image has more than 256 colours"));
                        return QByteArray();
                    }
                    if (qAlpha(colour) == 0)
                        pixels.transparent = static_cast<int>(pixels.colours.size());
                    it = lookup.insert(colour, static_cast<int>(pixels.colours.size()));
                    pixels.colours.append(colour);
                }
                *out++ = static_cast<char>(it.value());
            }
        }
    }

    // The colour table has a power-of-two size of at least two entries; the
    // LZW minimum code size is at least 2, as GIF requires.
    const int tableBits = bitsFor(static_cast<int>(pixels.colours.size()));
    const int tableSize = 1 << tableBits;
    const int minimumCodeSize = qMax(2, tableBits);

    QByteArray file;
    file.append("GIF89a", 6);

    // Logical screen descriptor with a global colour table.
    appendWord(file, width);
    appendWord(file, height);
    file.append(static_cast<char>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
    file.append('\0'); // background colour index
    file.append('\0'); // no aspect ratio given
    for (int i = 0; i < tableSize; ++i) {
        const QRgb colour = i < pixels.colours.size() ? pixels.colours.at(i) : 0;
        file.append(static_cast<char>(qRed(colour)));
        file.append(static_cast<char>(qGreen(colour)));
        file.append(static_cast<char>(qBlue(colour)));
    }

    // Graphic control extension, only to name the transparent index.
    if (pixels.transparent >= 0) {
        file.append("\x21\xF9\x04", 3);
        file.append('\x01'); // no disposal method, no user input, transparent colour given
        appendWord(file, 0); // no delay
        file.append(static_cast<char>(pixels.transparent));
        file.append('\0');
    }

    // Image descriptor: the whole screen, no local table, not interlaced.
    file.append('\x2C');
    appendWord(file, 0);
    appendWord(file, 0);
    appendWord(file, width);
    appendWord(file, height);
    file.append('\0');

    file.append(static_cast<char>(minimumCodeSize));
    LzwEncoder lzw(minimumCodeSize);
    const QByteArray data = lzw.encode(pixels.indexes);
    m_statistics = lzw.statistics();
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype length = qMin<qsizetype>(255, data.size() - at);
        file.append(static_cast<char>(length));
        file.append(data.constData() + at, length);
    }
    file.append('\0'); // block terminator
    file.append('\x3B'); // trailer
    return file;
}

bool GifEncoder::write(const QImage &image, const QString &fileName)
{
    const QByteArray bytes = encode(image);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
    return true;
}
