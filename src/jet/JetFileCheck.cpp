#include "jet/JetFileCheck.h"

#include <array>
#include <cstring>

namespace {

constexpr int kVersionOffset = 0x14;
constexpr int kMaskedOffset = 0x18;
constexpr int kDatabaseKeyOffset = 0x3e;
constexpr int kCatalogPage = 2;

quint32 get32(const unsigned char *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

// The header page is masked with RC4 under a fixed key from 0x18 on; only the
// database key at 0x3e is needed here, so the key stream is run up to it.
quint32 unmaskedDatabaseKey(const unsigned char *page)
{
    const std::array<unsigned char, 4> key { 0xc7, 0xda, 0x39, 0x6b };
    std::array<unsigned char, 256> s {};
    for (int i = 0; i < 256; ++i)
        s[size_t(i)] = static_cast<unsigned char>(i);
    unsigned char j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<unsigned char>(j + s[size_t(i)] + key[size_t(i % 4)]);
        std::swap(s[size_t(i)], s[j]);
    }
    unsigned char a = 0;
    j = 0;
    unsigned char plain[4] = {};
    const int end = kDatabaseKeyOffset + 4;
    for (int n = kMaskedOffset; n < end; ++n) {
        a = static_cast<unsigned char>(a + 1);
        j = static_cast<unsigned char>(j + s[a]);
        std::swap(s[a], s[j]);
        const unsigned char k = s[static_cast<unsigned char>(s[a] + s[j])];
        if (n >= kDatabaseKeyOffset)
            plain[n - kDatabaseKeyOffset] = page[n] ^ k;
    }
    return get32(plain);
}

quint16 get16(const unsigned char *p)
{
    return quint16(p[0] | (p[1] << 8));
}

struct Layout
{
    qsizetype pageSize;
    int rowCountOffset; // data pages: the row count, followed by the row offsets
    int usedMapOffset; // table definitions: row pointer of the page usage map
    int freeMapOffset; // ... and of the free-space map
};

constexpr quint16 kRowOffsetMask = 0x1fff;

// A row pointer (page << 8 | row) of a table definition must name a row that
// exists, lying whole inside its page: readers copy the usage maps out of
// these rows without checking.
bool rowPointerSound(const QByteArray &bytes, quint32 pointer, const Layout &layout)
{
    const qsizetype pageCount = bytes.size() / layout.pageSize;
    const quint32 pageNumber = pointer >> 8;
    const int row = int(pointer & 0xff);
    if (pageNumber == 0 || pageNumber >= quint32(pageCount))
        return false;
    const auto *page
        = reinterpret_cast<const unsigned char *>(bytes.constData()) + pageNumber * layout.pageSize;
    if (page[0] != 0x01)
        return false;
    const int count = get16(page + layout.rowCountOffset);
    const int tableEnd = layout.rowCountOffset + 2 + 2 * count;
    if (row >= count || tableEnd > layout.pageSize)
        return false;
    const int start = get16(page + layout.rowCountOffset + 2 + 2 * row) & kRowOffsetMask;
    const int next = row == 0 ? int(layout.pageSize)
                              : get16(page + layout.rowCountOffset + 2 * row) & kRowOffsetMask;
    return start >= tableEnd && start < next && next <= layout.pageSize;
}

} // namespace

JetFileKind checkJetFile(const QByteArray &bytes)
{
    static const char signature[] = "\x00\x01\x00\x00Standard Jet DB"; // 19 bytes and a NUL
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (bytes.size() < 0x80 || std::memcmp(data, signature, sizeof signature) != 0)
        return JetFileKind::NotJet;

    const quint32 version = get32(data + kVersionOffset);
    if (version > 1)
        return JetFileKind::NotJet; // Access 2007 and later, not a language table's format
    const qsizetype pageSize = version == 0 ? 2048 : 4096;

    // Encrypted pages would need the key for every page; such files are not read.
    if (unmaskedDatabaseKey(data) != 0)
        return JetFileKind::NotJet;

    if (bytes.size() % pageSize != 0 || bytes.size() < (kCatalogPage + 1) * pageSize)
        return JetFileKind::Damaged;
    if (data[kCatalogPage * pageSize] != 0x02)
        return JetFileKind::Damaged;

    // Only the catalog's definition is checked further: real files keep
    // stale pages of dropped objects that no reader visits, so a check of
    // every page would turn sound files away. What lies beyond is left to
    // the isolated reader.
    const Layout layout = version == 0 ? Layout { 2048, 8, 35, 39 } : Layout { 4096, 12, 55, 59 };
    const unsigned char *catalog = data + kCatalogPage * pageSize;
    if (!rowPointerSound(bytes, get32(catalog + layout.usedMapOffset), layout)
        || !rowPointerSound(bytes, get32(catalog + layout.freeMapOffset), layout))
        return JetFileKind::Damaged;
    return version == 0 ? JetFileKind::Jet3 : JetFileKind::Jet4;
}
