#pragma once

#include "raster/DeviceContext.h"

#include <QtGlobal>

// Rectangle copies between the persistent images of drawing surfaces, with the
// pixel rules of the classic graphics calls. Coordinates are pixels. Parts of a
// rectangle outside the source or the destination image are left out; a
// negative or zero size copies nothing. The results are true when something
// could be attempted, as the callers never test them.

// Copies w x h pixels from (xSrc, ySrc) of src to (x, y) of dest unchanged.
bool BitBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc);

// Copies like BitBlt but leaves out every source pixel whose colour equals
// transparentColour (0x00BBGGRR). The source rectangle is sampled to the
// destination's size when the two differ.
bool TransparentBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, quint32 transparentColour);

// Lays the source rectangle over the destination rectangle with one constant
// opacity for the whole source (its own alpha is not used). Per channel the
// result is round((source * opacity + destination * (255 - opacity)) / 255),
// so 255 copies the source and 0 leaves the destination. The source is
// sampled to the destination's size when the two differ.
bool AlphaBlend(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, quint8 opacity);

// AlphaBlend for a destination rectangle the caller knows to hold the one
// pixel value destinationPixel throughout: the same result, without reading
// the destination.
bool AlphaBlendOverOneColour(const DeviceContext &dest, int x, int y, int w, int h,
    const DeviceContext &src, int xSrc, int ySrc, int wSrc, int hSrc, quint8 opacity,
    QRgb destinationPixel);
