#include "raster/Blit.h"

#include "raster/Colour.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The part of a w x h copy that lies inside both images, as offsets into the
// rectangle: columns [i0, i1), rows [j0, j1). Empty when i0 >= i1 or j0 >= j1.
struct Span
{
    int i0, i1, j0, j1;
    bool empty() const { return i0 >= i1 || j0 >= j1; }
};

Span clipUnscaled(
    const QImage &dest, int x, int y, int w, int h, const QImage &src, int xSrc, int ySrc)
{
    Span s;
    s.i0 = std::max({ 0, -x, -xSrc });
    s.j0 = std::max({ 0, -y, -ySrc });
    s.i1 = std::min({ w, dest.width() - x, src.width() - xSrc });
    s.j1 = std::min({ h, dest.height() - y, src.height() - ySrc });
    return s;
}

bool usable(const DeviceContext &dc)
{
    return dc.image && !dc.image->isNull() && dc.image->depth() == 32;
}

// Source column or row for offset i of a destination extent `extent` sampled
// from a source extent `sourceExtent` (nearest pixel, as a stretch does).
int sample(int i, int extent, int sourceExtent)
{
    return static_cast<int>((qint64(i) * sourceExtent) / extent);
}

quint32 *row(QImage &image, int y)
{
    return reinterpret_cast<quint32 *>(image.scanLine(y));
}

const quint32 *row(const QImage &image, int y)
{
    return reinterpret_cast<const quint32 *>(image.constScanLine(y));
}

// Two channels of a pixel spread into the two 16-bit halves of a 32-bit
// value: blue and red as they lie, green and the fourth byte after a shift by
// 8. A channel times an opacity (at most 255 * 255) fits its half, so one
// 32-bit multiply weighs two channels.
constexpr quint32 kChannelPairs = 0x00FF00FFu;

// Per channel round((s * a + d * (255 - a)) / 255), for a channel pair: t / 255
// rounded is (h + (h >> 8)) >> 8 with h = t + 128, and neither sum carries
// into the other half. The result is left in the upper byte of each half.
inline quint32 blendPair(quint32 s, quint32 d, quint32 a, quint32 ia)
{
    const quint32 h = s * a + d * ia + 0x00800080u;
    return h + ((h >> 8) & kChannelPairs);
}

inline quint32 blendPixel(quint32 s, quint32 d, quint32 a, quint32 ia)
{
    const quint32 blueRed = blendPair(s & kChannelPairs, d & kChannelPairs, a, ia);
    const quint32 green = blendPair((s >> 8) & kChannelPairs, (d >> 8) & kChannelPairs, a, ia);
    return 0xFF000000u | ((blueRed >> 8) & kChannelPairs) | (green & 0x0000FF00u);
}

// What lies under the source: the destination's own pixels, or one colour
// the caller knows the whole destination holds (it is then not read).
struct OwnPixels
{
    quint32 operator()(quint32 pixel) const { return pixel; }
};
struct OneColour
{
    quint32 colour;
    quint32 operator()(quint32) const { return colour; }
};

// Pixels per group of the blend loop. A loop of a fixed count is one the
// compiler vectorises at every optimisation level it vectorises at all; the
// pixels after the last whole group take the same arithmetic one by one.
constexpr int kGroup = 16;

template<typename Under>
inline __attribute__((always_inline)) void blendRowOver(
    quint32 *dest, const quint32 *__restrict source, int n, quint32 a, Under under)
{
    const quint32 ia = 255 - a;
    int i = 0;
    for (; i + kGroup <= n; i += kGroup) {
        quint32 *d = dest + i;
        const quint32 *__restrict s = source + i;
        for (int k = 0; k < kGroup; ++k)
            d[k] = blendPixel(s[k], under(d[k]), a, ia);
    }
    for (; i < n; ++i)
        dest[i] = blendPixel(source[i], under(dest[i]), a, ia);
}

// The blend of one row, in place; built for the widest vectors the processor
// has and chosen when the program is loaded. The source must not overlap the
// destination.
#if defined(__GNUC__) && defined(__x86_64__)
#define TAVLIN_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TAVLIN_VECTOR_CLONES
#endif

TAVLIN_VECTOR_CLONES void blendRow(quint32 *dest, const quint32 *source, int n, quint32 a)
{
    blendRowOver(dest, source, n, a, OwnPixels {});
}

TAVLIN_VECTOR_CLONES void blendRowOverColour(
    quint32 *dest, const quint32 *source, int n, quint32 a, quint32 colour)
{
    blendRowOver(dest, source, n, a, OneColour { colour });
}

bool sharesMemory(const QImage &a, const QImage &b)
{
    const uchar *aBegin = a.constBits(), *bBegin = b.constBits();
    return aBegin < bBegin + b.sizeInBytes() && bBegin < aBegin + a.sizeInBytes();
}

// Blends the source rectangle onto the destination rectangle row by row:
// blend(target, source, n) for each run of n pixels. Where the sizes differ
// the source is sampled, and where the images share memory its pixels are
// gathered first, so the row blend never reads what it writes.
template<typename RowBlend>
bool blendRectangle(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, RowBlend blend)
{
    if (!usable(dest) || !usable(src) || w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0)
        return false;
    QImage &to = *dest.image;
    const QImage &from = *src.image;

    if (w == wSrc && h == hSrc && !sharesMemory(to, from)) {
        const Span s = clipUnscaled(to, x, y, w, h, from, xSrc, ySrc);
        for (int j = s.j0; j < s.j1; ++j)
            blend(row(to, y + j) + x + s.i0, row(from, ySrc + j) + xSrc + s.i0, s.i1 - s.i0);
        return true;
    }

    // The sampled column grows with the destination column, so the columns
    // whose sample lies inside the source are one run.
    const int i0 = std::max(0, -x), i1 = std::min(w, to.width() - x);
    std::vector<quint32> gathered(size_t(std::max(i1 - i0, 0)));
    for (int j = std::max(0, -y); j < std::min(h, to.height() - y); ++j) {
        const int sy = ySrc + sample(j, h, hSrc);
        if (sy < 0 || sy >= from.height())
            continue;
        const quint32 *source = row(from, sy);
        int first = i1, n = 0;
        for (int i = i0; i < i1; ++i) {
            const int sx = xSrc + sample(i, w, wSrc);
            if (sx < 0 || sx >= from.width())
                continue;
            first = std::min(first, i);
            gathered[size_t(n++)] = source[sx];
        }
        if (n > 0)
            blend(row(to, y + j) + x + first, gathered.data(), n);
    }
    return true;
}

} // namespace

bool BitBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc)
{
    if (!usable(dest) || !usable(src))
        return false;
    QImage &to = *dest.image;
    const QImage &from = *src.image;
    const Span s = clipUnscaled(to, x, y, w, h, from, xSrc, ySrc);
    if (s.empty())
        return true;
    const size_t bytes = size_t(s.i1 - s.i0) * sizeof(quint32);
    // Within one image, copy the rows in the order that never reads a row
    // already overwritten.
    const bool upwards = dest.image == src.image && ySrc < y;
    for (int k = 0; k < s.j1 - s.j0; ++k) {
        const int j = upwards ? s.j1 - 1 - k : s.j0 + k;
        const quint32 *source = row(from, ySrc + j) + xSrc + s.i0;
        std::memmove(row(to, y + j) + x + s.i0, source, bytes);
    }
    return true;
}

bool TransparentBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, quint32 transparentColour)
{
    if (!usable(dest) || !usable(src) || w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0)
        return false;
    QImage &to = *dest.image;
    const QImage &from = *src.image;
    const quint32 key = Colour::toQRgb(transparentColour) & 0x00FFFFFFu;
    for (int j = std::max(0, -y); j < std::min(h, to.height() - y); ++j) {
        const int sy = ySrc + sample(j, h, hSrc);
        if (sy < 0 || sy >= from.height())
            continue;
        const quint32 *source = row(from, sy);
        quint32 *target = row(to, y + j);
        for (int i = std::max(0, -x); i < std::min(w, to.width() - x); ++i) {
            const int sx = xSrc + sample(i, w, wSrc);
            if (sx < 0 || sx >= from.width())
                continue;
            const quint32 pixel = source[sx];
            if ((pixel & 0x00FFFFFFu) != key)
                target[x + i] = 0xFF000000u | pixel;
        }
    }
    return true;
}

bool AlphaBlend(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, int wSrc, int hSrc, quint8 opacity)
{
    return blendRectangle(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc,
        [opacity](quint32 *d, const quint32 *s, int n) { blendRow(d, s, n, opacity); });
}

bool AlphaBlendOverOneColour(const DeviceContext &dest, int x, int y, int w, int h,
    const DeviceContext &src, int xSrc, int ySrc, int wSrc, int hSrc, quint8 opacity,
    QRgb destinationPixel)
{
    return blendRectangle(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc,
        [opacity, destinationPixel](quint32 *d, const quint32 *s, int n) {
            blendRowOverColour(d, s, n, opacity, destinationPixel);
        });
}
