#pragma once

#include <QByteArray>
#include <QImage>

// A Windows bitmap with 24 bits per pixel, bottom-up, no compression: the
// screenshot file type the overlay loads. Empty for a null image.
QByteArray encodeBmp24(const QImage &image);
