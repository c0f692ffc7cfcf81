// Damaged Jet files: rows or a failure, never both, no crash here (libmdb runs in a child), and
// never a name the undamaged file does not hold: a table of 300 rows over several pages, or a
// real file without the table, which never comes back as one. No reader can tell two damages
// from real data: a byte changed inside a text, and an offset that moves a boundary between
// two texts of the same row (see SampleTable::explained).
// First byte: 0-1 edit the Jet 4 table, 2 the Jet 3 one, 4 the real Jet 3 file, 5 the real Jet 4
// one (groups of a 2-byte position and a value); 3 cuts the Jet 4 table at a 2-byte position;
// else the rest is the file.
#include "SampleTables.h"
#include "jet/JetLanguageTable.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using Version = JetWriter::Version;

const SampleTable &table(Version version)
{
    using Type = JetWriter::ColumnType;
    const QVector<JetWriter::Column> columns { { "ID", Type::LongInteger },
        { "Language", Type::Integer }, { "Code", Type::Text, 8 }, { "Name", Type::Text, 40 },
        { "Note", Type::Memo } };
    static const SampleTable jet3 = makeSampleTable("Jet 3", Version::Jet3, columns);
    static const SampleTable jet4 = makeSampleTable("Jet 4", Version::Jet4, columns);
    return version == Version::Jet3 ? jet3 : jet4;
}

const QByteArray &realFile(Version version)
{
    auto read = [](const char *name) {
        QFile file(TAVLIN_SOURCE_DIR "/tests/data/jet/" + QString::fromLatin1(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    static const QByteArray jet3 = read("access97-sample.mdb");
    static const QByteArray jet4 = read("access2000-sample.mdb");
    return version == Version::Jet3 ? jet3 : jet4;
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
    // The undamaged files themselves must read.
    for (const Version version : { Version::Jet3, Version::Jet4 })
        if (JetLanguageTable::readBytes(table(version).bytes).rows.size() != 300
            || JetLanguageTable::readBytes(realFile(version)).status
                != LanguageTableResult::Status::TableMissing)
            std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes;
    const SampleTable *sample = nullptr; // none: no table at all
    bool textChanged = false, anyName = false;
    if (data[0] <= 2) {
        sample = &table(data[0] == 2 ? Version::Jet3 : Version::Jet4);
        bytes = edited(sample->bytes, data + 1, size - 1);
        for (size_t i = 1; i + 3 <= size; i += 3)
            textChanged = textChanged || sample->textByte[size_t(position(data + i, bytes.size()))];
    } else if (data[0] == 3) {
        sample = &table(Version::Jet4);
        bytes = sample->bytes.left(size >= 3 ? position(data + 1, sample->bytes.size()) : 0);
    } else if (data[0] <= 5) {
        bytes = edited(realFile(data[0] == 4 ? Version::Jet3 : Version::Jet4), data + 1, size - 1);
    } else {
        bytes = QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
        anyName = true;
    }

    const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
    if (!result.ok() && !result.rows.isEmpty())
        std::abort();
    if (result.ok() && !sample && !anyName)
        std::abort();
    for (const LanguageRow &row : result.rows)
        if (sample && !sample->explained(row.name.text, textChanged))
            std::abort();
    return 0;
}
