// Feeds damaged Jet files through the language-table reader. Whatever the
// bytes, the reader must come back - with rows or with a failure - and this
// process must neither crash nor trip a sanitizer; libmdb itself runs in the
// reader's child process.
//
// The first input byte chooses what the rest means:
//   0, 1  edits of a valid Jet 4 file: 3-byte groups of position (two bytes,
//         spread over the file) and new value
//   2     the same for a valid Jet 3 file
//   3     the valid Jet 4 file cut short at the position the next bytes give
//   else  the rest of the input is the file
#include "JetWriter.h"
#include "jet/JetLanguageTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray validFile(JetWriter::Version version)
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    writer.addColumn(QStringLiteral("ID"), JetWriter::ColumnType::LongInteger);
    writer.addColumn(QStringLiteral("Language"), JetWriter::ColumnType::Integer);
    writer.addColumn(QStringLiteral("Name"), JetWriter::ColumnType::Text, 40);
    writer.addColumn(QStringLiteral("Note"), JetWriter::ColumnType::Memo);
    writer.addRow({ 1, 1, QStringLiteral("Deutsch"), QStringLiteral("erste Zeile") });
    writer.addRow({ 2, 2, QStringLiteral("English"), QVariant() });
    writer.addRow({ 3, 3, QString(), QStringLiteral("") });
    writer.addRow({ 4, QVariant(), QVariant(), QStringLiteral("Zeile") });
    writer.addRow({ 5, 5, QStringLiteral("Français"), QStringLiteral("über") });
    QString error;
    const QByteArray bytes = writer.build(&error);
    if (bytes.isEmpty())
        std::abort();
    return bytes;
}

const QByteArray &jet4()
{
    static const QByteArray bytes = validFile(JetWriter::Version::Jet4);
    return bytes;
}

const QByteArray &jet3()
{
    static const QByteArray bytes = validFile(JetWriter::Version::Jet3);
    return bytes;
}

QByteArray edited(const QByteArray &base, const uint8_t *data, size_t size)
{
    QByteArray bytes = base;
    for (size_t i = 0; i + 3 <= size; i += 3) {
        const quint32 position
            = (quint32(data[i]) << 8 | data[i + 1]) * quint32(bytes.size()) / 65536u;
        bytes[qsizetype(position)] = char(data[i + 2]);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    jet4();
    jet3();
    // The valid files themselves must read.
    if (JetLanguageTable::readBytes(jet4()).rows.size() != 5
        || JetLanguageTable::readBytes(jet3()).rows.size() != 5)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes;
    switch (data[0]) {
    case 0:
    case 1:
        bytes = edited(jet4(), data + 1, size - 1);
        break;
    case 2:
        bytes = edited(jet3(), data + 1, size - 1);
        break;
    case 3: {
        const quint32 cut
            = size >= 3 ? (quint32(data[1]) << 8 | data[2]) * quint32(jet4().size()) / 65536u : 0;
        bytes = jet4().left(qsizetype(cut));
        break;
    }
    default:
        bytes = QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
        break;
    }

    const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
    if (!result.ok() && !result.rows.isEmpty())
        std::abort(); // a failure never carries rows
    for (const LanguageRow &row : result.rows) {
        for (const JetValue *v : { &row.language, &row.name }) {
            if (v->kind != JetValue::Kind::Null && v->kind != JetValue::Kind::Number
                && v->kind != JetValue::Kind::Text && v->kind != JetValue::Kind::Other)
                std::abort();
        }
    }
    return 0;
}
