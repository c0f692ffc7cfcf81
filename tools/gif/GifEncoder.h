#pragma once

#include "gif/LzwEncoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Writes a QImage as a single-frame GIF89a file.
//
// An indexed image (Format_Indexed8, or a 1-bit format) keeps its colour
// table and indexes. Its transparent colour is the index set with
// setTransparentIndex(), or else the first table entry whose alpha is 0 (the
// way Qt's own GIF reader marks it).
//
// Any other image is reduced to its distinct colours, in order of first
// appearance from the top-left; every pixel with alpha 0 shares one
// transparent entry, and all other pixels are written opaque. An image with
// more than 256 colours (the transparent entry counted) is refused: the
// encoder never dithers or quantises.
class GifEncoder
{
public:
    // -1 for none. Applies to indexed images only.
    void setTransparentIndex(int index) { m_transparentIndex = index; }

    // The whole file, or an empty array when the image cannot be written;
    // errorString() then says why.
    QByteArray encode(const QImage &image);

    // encode() and save; false on any failure.
    bool write(const QImage &image, const QString &fileName);

    QString errorString() const { return m_error; }

    // How the image data of the last encode() was coded.
    const LzwEncoder::Statistics &statistics() const { return m_statistics; }

private:
    bool fail(const QString &message);

    int m_transparentIndex = -1;
    QString m_error;
    LzwEncoder::Statistics m_statistics;
};
