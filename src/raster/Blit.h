#pragma once

#include "raster/DeviceContext.h"

#include <QtGlobal>

// Rectangle copies between the persistent images of drawing surfaces, with the
// pixel rules of the classic graphics calls. Coordinates are pixels. Parts of a
// rectangle outside the source or the destination image are left out; a
// negative or zero size copies nothing. The results are true when something
// could be attempted, as the callers never test them.

constexpr quint32 SRCCOPY = 0x00CC0020;

// Copies w x h pixels from (xSrc, ySrc) of src to (x, y) of dest unchanged.
// Only SRCCOPY is supported; any other raster operation copies nothing.
bool BitBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, quint32 rop);

// Copies like BitBlt but leaves out every source pixel whose colour equals
// transparentColour (0x00BBGGRR). The source rectangle is sampled to the
// destination's size when the two differ.
bool TransparentBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, quint32 transparentColour);

// Blends the source rectangle over the destination rectangle with one constant
// opacity. blendFunction is the packed descriptor: byte 0 the operation (0,
// source over), byte 1 flags (0), byte 2 the constant alpha, byte 3 the alpha
// format (0: the source has no alpha of its own). Per channel the result is
// round((source * alpha + destination * (255 - alpha)) / 255), so 255 copies
// the source and 0 leaves the destination. The source is sampled to the
// destination's size when the two differ.
bool AlphaBlend(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, quint32 blendFunction);

// The widest vector instructions AlphaBlend may use, in bits: 512, 256, 128 or
// 0 for none. By default the widest the processor has; tests narrow it to
// check every variant against the same rule.
void setBlendVectorLimit(int bits);
