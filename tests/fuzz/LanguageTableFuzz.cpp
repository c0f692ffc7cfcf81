// Damaged Jet files: rows or a failure, never both, and no crash here (libmdb runs in a child).
// First byte: 0-1 edit the Jet 4 file, 2 the Jet 3 one (groups of a 2-byte position and a value),
// 3 cuts the Jet 4 file at a 2-byte position, else the rest is the file.
#include "jet/JetLanguageTable.h"
#include "support/JetFixtures.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray build(JetWriter::Version version)
{
    using Type = JetWriter::ColumnType;
    return languageTableWriter(
        { { 1, 1, "Deutsch", "erste Zeile" }, { 2, 2, "English", QVariant() },
            { 3, 3, QString(), QStringLiteral("") }, { 4, QVariant(), QVariant(), "Zeile" },
            { 5, 5, "Français", "über" } },
        version,
        { { "ID", Type::LongInteger }, { "Language", Type::Integer }, { "Name", Type::Text, 40 },
            { "Note", Type::Memo } })
        .build();
}

const QByteArray &validFile(JetWriter::Version version)
{
    static const QByteArray jet3 = build(JetWriter::Version::Jet3);
    static const QByteArray jet4 = build(JetWriter::Version::Jet4);
    return version == JetWriter::Version::Jet3 ? jet3 : jet4;
}

qsizetype position(const uint8_t *data, qsizetype size)
{
    return qsizetype((quint32(data[0]) << 8 | data[1]) * quint32(size) / 65536u);
}

QByteArray edited(QByteArray bytes, const uint8_t *data, size_t size)
{
    for (size_t i = 0; i + 3 <= size; i += 3)
        bytes[position(data + i, bytes.size())] = char(data[i + 2]);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The valid files themselves must read.
    for (const auto version : { JetWriter::Version::Jet3, JetWriter::Version::Jet4 })
        if (JetLanguageTable::readBytes(validFile(version)).rows.size() != 5)
            std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray &jet4 = validFile(JetWriter::Version::Jet4);
    QByteArray bytes;
    if (data[0] <= 1)
        bytes = edited(jet4, data + 1, size - 1);
    else if (data[0] == 2)
        bytes = edited(validFile(JetWriter::Version::Jet3), data + 1, size - 1);
    else if (data[0] == 3)
        bytes = jet4.left(size >= 3 ? position(data + 1, jet4.size()) : 0);
    else
        bytes = QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);

    const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
    if (!result.ok() && !result.rows.isEmpty())
        std::abort();
    return 0;
}
