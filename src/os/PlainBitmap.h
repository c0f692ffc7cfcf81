#pragma once

#include <QImage>

// The unsigned number of `size` bytes at `at`, least significant first, as
// bitmap headers store their fields.
quint32 littleEndian(const QByteArray &bytes, int at, int size);

// The widest and tallest picture a screenshot is taken to be; a decoder
// allocates nothing of its own for larger ones.
constexpr int kLargestPictureSide = 8192;

// Decodes the bitmap layout nearly every screenshot has: a 40-byte header,
// 24 or 32 bits per pixel, uncompressed, rows bottom-up or top-down. The
// colours are those Qt's reader gives such a file, every pixel opaque. Any
// other layout, any header this does not take and any read that fails give
// a null image, for Qt's reader to decode.
//
// Reads the open file `fd` by position (its offset stays where it was) with
// the C library only, so it may run on a thread before the application
// object exists; it touches no Qt object.
QImage readPlainBitmap(int fd);
