#include "raster/Blit.h"

#include "raster/Colour.h"

#include <algorithm>
#include <cstring>
#include <optional>
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

// The blend runs over the rows as 16-bit words, two channels to a word, so
// that one vector multiply weighs sixteen channels. Per channel it computes
// t = s * a + d * (255 - a) + 128, at most 65153, and then (t * 257) >> 16,
// which equals (t + (t >> 8)) >> 8 for every such t: t - 128 divided by 255
// and rounded to the nearest whole number.
using Word = quint16;

// Words per group of the blend loop (sixteen pixels). A loop of a fixed count
// is one the compiler vectorises at every optimisation level it vectorises at
// all; the words after the last whole group take the same arithmetic one by
// one.
constexpr int kWords = 32;

// The bits of the fourth channel (always 255 in the result) for each word of
// a group as the pixels lie in memory.
struct ChannelTerms
{
    Word fourth[kWords];
};

// Which channel (0 blue, 1 green, 2 red, 3 the fourth) the byte at this
// offset in a row of pixels holds, on any byte order.
int channelOfByte(int byte)
{
    const quint32 order = 0x03020100u;
    uchar channelOf[4];
    std::memcpy(channelOf, &order, sizeof order);
    return channelOf[byte % 4];
}

// The terms for a blend over the destination's own pixels.
ChannelTerms channelTerms()
{
    ChannelTerms terms;
    for (int j = 0; j < kWords; ++j) {
        const int low = channelOfByte(2 * j), high = channelOfByte(2 * j + 1);
        terms.fourth[j] = Word((low == 3 ? 0x00FFu : 0u) | (high == 3 ? 0xFF00u : 0u));
    }
    return terms;
}

// Over one known colour the destination's share of each channel is a
// constant, and the blend of source value s is a function of s alone:
// ((s * a + c) * 257) >> 16 with c = d * (255 - a) + 128. It is computed
// there with one multiply instead of two: ((s << 8) * m >> 16) + k, then
// >> 8, where (m, k) are chosen for the channel so that this is exact for
// all 256 values of s. m = a * 257 is exact for nearly every pair of
// opacity and channel value, a * 257 +- 1 for the rest (every pair has been
// tried). The fourth channel is 255 whatever the source holds: m = 0 and
// k = 0xFF00.
struct OneColourTerms
{
    Word mulLow[kWords];
    Word mulHigh[kWords];
    Word addLow[kWords];
    Word addHigh[kWords];
};

struct ChannelFactor
{
    Word m = 0;
    Word k = 0;
};

std::optional<ChannelFactor> channelFactor(quint32 a, quint32 d)
{
    const quint32 c = d * (255 - a) + 128;
    for (const int offset : { 0, -1, 1 }) {
        const qint64 m = qint64(a) * 257 + offset;
        if (m < 0 || m > 0xFFFF)
            continue;
        qint64 lowest = 0, highest = 0xFFFF;
        for (quint32 s = 0; s < 256 && lowest <= highest; ++s) {
            const qint64 wanted = ((s * a + c) * 257) >> 16;
            const qint64 product = (qint64(s << 8) * m) >> 16;
            lowest = std::max(lowest, wanted * 256 - product);
            highest = std::min(highest, wanted * 256 + 255 - product);
        }
        if (lowest <= highest)
            return ChannelFactor { Word(m), Word(lowest) };
    }
    return std::nullopt;
}

std::optional<OneColourTerms> oneColourTerms(quint32 a, QRgb under)
{
    ChannelFactor factors[4];
    factors[3] = ChannelFactor { 0, 0xFF00 };
    for (int channel = 0; channel < 3; ++channel) {
        const auto factor = channelFactor(a, (under >> (8 * channel)) & 0xFFu);
        if (!factor)
            return std::nullopt;
        factors[channel] = *factor;
    }
    OneColourTerms terms;
    for (int j = 0; j < kWords; ++j) {
        const ChannelFactor low = factors[channelOfByte(2 * j)];
        const ChannelFactor high = factors[channelOfByte(2 * j + 1)];
        terms.mulLow[j] = low.m;
        terms.addLow[j] = low.k;
        terms.mulHigh[j] = high.m;
        terms.addHigh[j] = high.k;
    }
    return terms;
}

inline Word divideBy255(Word t)
{
    return Word((quint32(t) * 257u) >> 16);
}

// One word of the result: source word s over destination word d, j its place
// in the group. Every step is written in 16 bits so that the compiler keeps
// the vectors 16 bits wide.
inline __attribute__((always_inline)) Word blendWord(
    Word s, Word d, int j, const ChannelTerms &terms, Word a, Word ia)
{
    const Word low
        = divideBy255(Word(Word(Word(s & 0xFFu) * a) + Word(Word(d & 0xFFu) * ia) + Word(128)));
    const Word high
        = divideBy255(Word(Word(Word(s >> 8) * a) + Word(Word(d >> 8) * ia) + Word(128)));
    return Word(low | Word(high << 8) | terms.fourth[j]);
}

// The blend of n words in place.
inline __attribute__((always_inline)) void blendWords(
    Word *dest, const Word *__restrict source, int n, const ChannelTerms &givenTerms, Word a)
{
    // A copy of its own, which the writes to the destination cannot touch.
    const ChannelTerms terms = givenTerms;
    const Word ia = Word(255 - a);
    int i = 0;
    for (; i + kWords <= n; i += kWords) {
        Word *d = dest + i;
        const Word *__restrict s = source + i;
        for (int j = 0; j < kWords; ++j)
            d[j] = blendWord(s[j], d[j], j, terms, a, ia);
    }
    for (int j = 0; i + j < n; ++j)
        dest[i + j] = blendWord(source[i + j], dest[i + j], j, terms, a, ia);
}

inline Word multiplyHigh(Word x, Word y)
{
    return Word((quint32(x) * y) >> 16);
}

// One word over one colour; see OneColourTerms.
inline __attribute__((always_inline)) Word oneColourWord(Word s, int j, const OneColourTerms &terms)
{
    const Word low = Word(multiplyHigh(Word(s << 8), terms.mulLow[j]) + terms.addLow[j]) >> 8;
    const Word high = Word(multiplyHigh(Word(s & 0xFF00u), terms.mulHigh[j]) + terms.addHigh[j]);
    return Word(low | (high & 0xFF00u));
}

// The blend of n words over one colour: the destination is only written.
inline __attribute__((always_inline)) void oneColourWords(
    Word *dest, const Word *__restrict source, int n, const OneColourTerms &givenTerms)
{
    const OneColourTerms terms = givenTerms;
    int i = 0;
    for (; i + kWords <= n; i += kWords) {
        Word *d = dest + i;
        const Word *__restrict s = source + i;
        for (int j = 0; j < kWords; ++j)
            d[j] = oneColourWord(s[j], j, terms);
    }
    for (int j = 0; i + j < n; ++j)
        dest[i + j] = oneColourWord(source[i + j], j, terms);
}

// The blend of one row of n pixels, in place; built for the widest vectors
// the processor has and chosen when the program is loaded. The source must
// not overlap the destination.
#if defined(__GNUC__) && defined(__x86_64__)
#define TAVLIN_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TAVLIN_VECTOR_CLONES
#endif

TAVLIN_VECTOR_CLONES void blendRow(
    quint32 *dest, const quint32 *source, int n, const ChannelTerms &terms, quint8 a)
{
    blendWords(
        reinterpret_cast<Word *>(dest), reinterpret_cast<const Word *>(source), 2 * n, terms, a);
}

TAVLIN_VECTOR_CLONES void blendRowOverColour(
    quint32 *dest, const quint32 *source, int n, const OneColourTerms &terms)
{
    oneColourWords(
        reinterpret_cast<Word *>(dest), reinterpret_cast<const Word *>(source), 2 * n, terms);
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
    const ChannelTerms terms = channelTerms();
    return blendRectangle(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc,
        [&terms, opacity](
            quint32 *d, const quint32 *s, int n) { blendRow(d, s, n, terms, opacity); });
}

bool AlphaBlendOverOneColour(const DeviceContext &dest, int x, int y, int w, int h,
    const DeviceContext &src, int xSrc, int ySrc, int wSrc, int hSrc, quint8 opacity,
    QRgb destinationPixel)
{
    const std::optional<OneColourTerms> terms = oneColourTerms(opacity, destinationPixel);
    if (terms)
        return blendRectangle(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc,
            [&terms](quint32 *d, const quint32 *s, int n) { blendRowOverColour(d, s, n, *terms); });
    // Not reached (every opacity and colour has its factors); should it ever
    // be, the colour is laid down and blended over as any destination.
    const ChannelTerms general = channelTerms();
    return blendRectangle(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc,
        [&general, opacity, destinationPixel](quint32 *d, const quint32 *s, int n) {
            std::fill_n(d, n, destinationPixel);
            blendRow(d, s, n, general, opacity);
        });
}
