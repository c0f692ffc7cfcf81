#include "gif/LzwEncoder.h"

#include <array>
#include <vector>

namespace {

constexpr int kMaxCodeSize = 12;
constexpr int kTableSize = 1 << kMaxCodeSize; // codes 0 to 4095

// Appends codes of varying width to a byte string, least significant bit first.
class BitPacker
{
public:
    explicit BitPacker(QByteArray &out)
        : m_out(out)
    { }

    void put(int code, int size)
    {
        m_buffer |= static_cast<quint32>(code) << m_bits;
        m_bits += size;
        while (m_bits >= 8) {
            m_out.append(static_cast<char>(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_bits -= 8;
        }
    }

    void flush()
    {
        if (m_bits > 0)
            m_out.append(static_cast<char>(m_buffer & 0xFF));
        m_buffer = 0;
        m_bits = 0;
    }

private:
    QByteArray &m_out;
    quint32 m_buffer = 0;
    int m_bits = 0;
};

// The string table: maps (prefix code, next index) to the code of the longer
// string. Open addressing over twice the code count keeps probes short; a
// generation number empties it in constant time at every clear code.
class StringTable
{
public:
    StringTable()
        : m_keys(kSlots)
        , m_codes(kSlots)
        , m_generations(kSlots, 0)
    { }

    void clear() { ++m_generation; }

    // The code of prefix + index, or -1.
    int find(int prefix, quint8 index) const
    {
        const quint32 key = keyOf(prefix, index);
        for (quint32 slot = hash(key);; slot = (slot + 1) & (kSlots - 1)) {
            if (m_generations[slot] != m_generation)
                return -1;
            if (m_keys[slot] == key)
                return m_codes[slot];
        }
    }

    void insert(int prefix, quint8 index, int code)
    {
        const quint32 key = keyOf(prefix, index);
        quint32 slot = hash(key);
        while (m_generations[slot] == m_generation)
            slot = (slot + 1) & (kSlots - 1);
        m_generations[slot] = m_generation;
        m_keys[slot] = key;
        m_codes[slot] = static_cast<qint16>(code);
    }

private:
    static constexpr quint32 kSlots = 2 * kTableSize;

    static quint32 keyOf(int prefix, quint8 index)
    {
        return (static_cast<quint32>(prefix) << 8) | index;
    }
    static quint32 hash(quint32 key) { return (key * 2654435761u) >> (32 - 13); }

    std::vector<quint32> m_keys;
    std::vector<qint16> m_codes;
    std::vector<quint32> m_generations;
    quint32 m_generation = 1;
};

static_assert((2 * kTableSize) == (1 << 13), "the hash yields 13 bits");

} // namespace

LzwEncoder::LzwEncoder(int minimumCodeSize)
    : m_minimumCodeSize(qBound(2, minimumCodeSize, 8))
{ }

QByteArray LzwEncoder::encode(const QByteArray &indexes)
{
    m_statistics = Statistics();
    QByteArray out;
    out.reserve(indexes.size() / 2 + 16);
    BitPacker packer(out);
    StringTable table;

    const int clearCode = 1 << m_minimumCodeSize;
    const int endCode = clearCode + 1;
    int codeSize = m_minimumCodeSize + 1;
    int nextCode = endCode + 1;

    auto writeCode = [&](int code) {
        packer.put(code, codeSize);
        ++m_statistics.codes;
        if (codeSize > m_statistics.largestCodeSize)
            m_statistics.largestCodeSize = codeSize;
    };
    auto emitClear = [&]() {
        writeCode(clearCode);
        ++m_statistics.clearCodes;
        table.clear();
        codeSize = m_minimumCodeSize + 1;
        nextCode = endCode + 1;
    };

    emitClear();
    const int mask = clearCode - 1;
    if (!indexes.isEmpty()) {
        int prefix = static_cast<quint8>(indexes.at(0)) & mask;
        for (qsizetype i = 1; i < indexes.size(); ++i) {
            const quint8 index = static_cast<quint8>(indexes.at(i)) & mask;
            const int found = table.find(prefix, index);
            if (found >= 0) {
                prefix = found;
                continue;
            }
            writeCode(prefix);
            if (nextCode < kTableSize) {
                // The decoder adds this string only when it reads the next
                // code, one step behind; it widens its codes when its next
                // free code reaches 2^size, which is exactly when this side
                // has just handed out code 2^size.
                table.insert(prefix, index, nextCode);
                if (nextCode == (1 << codeSize) && codeSize < kMaxCodeSize)
                    ++codeSize;
                ++nextCode;
            } else {
                emitClear();
            }
            prefix = index;
        }
        writeCode(prefix);
    }
    writeCode(endCode);
    packer.flush();
    return out;
}
