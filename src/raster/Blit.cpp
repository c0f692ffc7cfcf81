#include "raster/Blit.h"

#include "raster/Colour.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

// round(v / 255) for 0 <= v <= 255 * 255, without a division.
inline quint32 divide255(quint32 v)
{
    v += 128;
    return (v + (v >> 8)) >> 8;
}

inline quint32 blendPixel(quint32 s, quint32 d, quint32 a, quint32 ia)
{
    const quint32 r = divide255(((s >> 16) & 0xFF) * a + ((d >> 16) & 0xFF) * ia);
    const quint32 g = divide255(((s >> 8) & 0xFF) * a + ((d >> 8) & 0xFF) * ia);
    const quint32 b = divide255((s & 0xFF) * a + (d & 0xFF) * ia);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void blendTail(quint32 *d, const quint32 *s, int from, int n, quint32 a)
{
    const quint32 ia = 255 - a;
    for (int i = from; i < n; ++i)
        d[i] = blendPixel(s[i], d[i], a, ia);
}

#if defined(__x86_64__) || defined(__i386__)
// Eight pixels at a time in 16-bit lanes; the same arithmetic as blendPixel
// ((t * 257) >> 16 is (t + (t >> 8)) >> 8 for these values). Chosen at run
// time on processors that have it.
__attribute__((target("avx2"))) void blendRowAvx2(quint32 *d, const quint32 *s, int n, quint32 a)
{
    const __m256i va = _mm256_set1_epi16(static_cast<short>(a));
    const __m256i via = _mm256_set1_epi16(static_cast<short>(255 - a));
    const __m256i half = _mm256_set1_epi16(128);
    const __m256i by257 = _mm256_set1_epi16(257);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(s + i));
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(d + i));
        __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(sv, zero), va),
            _mm256_mullo_epi16(_mm256_unpacklo_epi8(dv, zero), via));
        __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(sv, zero), va),
            _mm256_mullo_epi16(_mm256_unpackhi_epi8(dv, zero), via));
        lo = _mm256_mulhi_epu16(_mm256_add_epi16(lo, half), by257);
        hi = _mm256_mulhi_epu16(_mm256_add_epi16(hi, half), by257);
        const __m256i result = _mm256_or_si256(_mm256_packus_epi16(lo, hi), opaque);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + i), result);
    }
    blendTail(d, s, i, n, a);
}

// Sixteen pixels at a time, where the processor has 512-bit byte and word
// operations.
__attribute__((target("avx512f,avx512bw"))) void blendRowAvx512(
    quint32 *d, const quint32 *s, int n, quint32 a)
{
    const __m512i va = _mm512_set1_epi16(static_cast<short>(a));
    const __m512i via = _mm512_set1_epi16(static_cast<short>(255 - a));
    const __m512i half = _mm512_set1_epi16(128);
    const __m512i by257 = _mm512_set1_epi16(257);
    const __m512i zero = _mm512_setzero_si512();
    const __m512i opaque = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        const __m512i dv = _mm512_loadu_si512(d + i);
        __m512i lo = _mm512_add_epi16(_mm512_mullo_epi16(_mm512_unpacklo_epi8(sv, zero), va),
            _mm512_mullo_epi16(_mm512_unpacklo_epi8(dv, zero), via));
        __m512i hi = _mm512_add_epi16(_mm512_mullo_epi16(_mm512_unpackhi_epi8(sv, zero), va),
            _mm512_mullo_epi16(_mm512_unpackhi_epi8(dv, zero), via));
        lo = _mm512_mulhi_epu16(_mm512_add_epi16(lo, half), by257);
        hi = _mm512_mulhi_epu16(_mm512_add_epi16(hi, half), by257);
        const __m512i result = _mm512_or_si512(_mm512_packus_epi16(lo, hi), opaque);
        _mm512_storeu_si512(d + i, result);
    }
    blendTail(d, s, i, n, a);
}

bool haveAvx512()
{
    static const bool have
        = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return have;
}

bool haveAvx2()
{
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

int g_vectorLimit = 512;

void blendRow(quint32 *d, const quint32 *s, int n, quint32 a)
{
#if defined(__x86_64__) || defined(__i386__)
    if (g_vectorLimit >= 512 && haveAvx512()) {
        blendRowAvx512(d, s, n, a);
        return;
    }
    if (g_vectorLimit >= 256 && haveAvx2()) {
        blendRowAvx2(d, s, n, a);
        return;
    }
#endif
    int i = 0;
    if (g_vectorLimit < 128) {
        blendTail(d, s, 0, n, a);
        return;
    }
#ifdef __SSE2__
    // Four pixels at a time in 16-bit lanes.
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i via = _mm_set1_epi16(static_cast<short>(255 - a));
    const __m128i half = _mm_set1_epi16(128);
    const __m128i by257 = _mm_set1_epi16(257);
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), va),
            _mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), via));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), va),
            _mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), via));
        lo = _mm_mulhi_epu16(_mm_add_epi16(lo, half), by257);
        hi = _mm_mulhi_epu16(_mm_add_epi16(hi, half), by257);
        const __m128i result = _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), result);
    }
#endif
    blendTail(d, s, i, n, a);
}

} // namespace

void setBlendVectorLimit(int bits)
{
    g_vectorLimit = bits;
}

bool BitBlt(const DeviceContext &dest, int x, int y, int w, int h, const DeviceContext &src,
    int xSrc, int ySrc, quint32 rop)
{
    if (!usable(dest) || !usable(src) || rop != SRCCOPY)
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
    int xSrc, int ySrc, int wSrc, int hSrc, quint32 blendFunction)
{
    const quint32 operation = blendFunction & 0xFF;
    const quint32 alpha = (blendFunction >> 16) & 0xFF;
    if (!usable(dest) || !usable(src) || operation != 0 || w <= 0 || h <= 0 || wSrc <= 0
        || hSrc <= 0)
        return false;
    QImage &to = *dest.image;
    const QImage &from = *src.image;

    if (w == wSrc && h == hSrc && dest.image != src.image) {
        const Span s = clipUnscaled(to, x, y, w, h, from, xSrc, ySrc);
        for (int j = s.j0; j < s.j1; ++j)
            blendRow(
                row(to, y + j) + x + s.i0, row(from, ySrc + j) + xSrc + s.i0, s.i1 - s.i0, alpha);
        return true;
    }

    const quint32 ia = 255 - alpha;
    for (int j = std::max(0, -y); j < std::min(h, to.height() - y); ++j) {
        const int sy = ySrc + sample(j, h, hSrc);
        if (sy < 0 || sy >= from.height())
            continue;
        const quint32 *source = row(from, sy);
        quint32 *target = row(to, y + j);
        for (int i = std::max(0, -x); i < std::min(w, to.width() - x); ++i) {
            const int sx = xSrc + sample(i, w, wSrc);
            if (sx >= 0 && sx < from.width())
                target[x + i] = blendPixel(source[sx], target[x + i], alpha, ia);
        }
    }
    return true;
}
