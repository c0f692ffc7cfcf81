// Damaged Jet files: rows or a failure, never both, no crash here (libmdb runs in a child), and
// never a name the undamaged file does not hold: a table of 300 rows over several pages, or a
// real file without the table, which never comes back as one. No reader can tell two damages
// from real data: a byte changed inside a text, and an offset that moves a boundary between
// two texts of the same row.
// First byte: 0-1 edit the Jet 4 table, 2 the Jet 3 one, 4 the real Jet 3 file, 5 the real Jet 4
// one (groups of a 2-byte position and a value); 3 cuts the Jet 4 table at a 2-byte position;
// else the rest is the file.
#include "jet/JetLanguageTable.h"
#include "support/JetFixtures.h"

#include <QFile>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using Version = JetWriter::Version;

QStringList names(Version version)
{
    return { "Deutsch", "English", "Français", "Magyar", "",
        version == Version::Jet4 ? "Čeština" : "Español" };
}

// Row i's texts: its code, its name (null for every seventh row) and its note.
QStringList rowTexts(Version version, int i)
{
    return { QStringLiteral("c%1").arg(i % 100), i % 7 == 6 ? QString() : names(version).at(i % 7),
        i % 3 ? QStringLiteral("über") : QString() };
}

QByteArray build(Version version)
{
    using Type = JetWriter::ColumnType;
    JetWriter writer = languageTableWriter({}, version,
        { { "ID", Type::LongInteger }, { "Language", Type::Integer }, { "Code", Type::Text, 5 },
            { "Name", Type::Text, 40 }, { "Note", Type::Memo } });
    for (int i = 0; i < 300; ++i) {
        const QStringList texts = rowTexts(version, i);
        const auto value = [](const QString &text) { return text.isNull() ? QVariant() : text; };
        writer.addRow({ i, i % 7, texts.at(0), value(texts.at(1)), value(texts.at(2)) });
    }
    return writer.build();
}

const QByteArray &table(Version version)
{
    static const QByteArray jet3 = build(Version::Jet3);
    static const QByteArray jet4 = build(Version::Jet4);
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

// Which bytes of the undamaged table belong to a text's own bytes (Jet 3 keeps these texts in
// Latin-1, Jet 4 in UCS-2).
std::vector<bool> markTexts(Version version)
{
    const QByteArray &bytes = table(version);
    std::vector<bool> inside(size_t(bytes.size()));
    QStringList texts;
    for (int i = 0; i < 300; ++i)
        texts << rowTexts(version, i);
    texts.removeDuplicates();
    for (const QString &name : texts) {
        const QByteArray text = version == Version::Jet3
            ? name.toLatin1()
            : QByteArray(reinterpret_cast<const char *>(name.utf16()), name.size() * 2);
        for (qsizetype i = text.isEmpty() ? -1 : bytes.indexOf(text); i >= 0;
             i = bytes.indexOf(text, i + 1))
            std::fill_n(inside.begin() + i, text.size(), true);
    }
    return inside;
}

bool insideText(Version version, qsizetype at)
{
    static const std::vector<bool> jet3 = markTexts(Version::Jet3);
    static const std::vector<bool> jet4 = markTexts(Version::Jet4);
    return (version == Version::Jet3 ? jet3 : jet4)[size_t(at)];
}

// Whether a name is made of one row's own texts, re-split by a damaged offset: a variable
// column starting where its neighbour does is as possible as an empty text there.
bool madeOfOneRow(Version version, const QString &name)
{
    for (int i = 0; i < 300; ++i)
        if (rowTexts(version, i).join(QString()).contains(name))
            return true;
    return false;
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
        if (JetLanguageTable::readBytes(table(version)).rows.size() != 300
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
    QStringList allowed; // empty: no table at all
    bool anyName = false;
    if (data[0] <= 2) {
        const Version version = data[0] == 2 ? Version::Jet3 : Version::Jet4;
        bytes = edited(table(version), data + 1, size - 1);
        allowed = names(version);
        for (size_t i = 1; i + 3 <= size; i += 3)
            anyName = anyName || insideText(version, position(data + i, bytes.size()));
    } else if (data[0] == 3) {
        bytes = table(Version::Jet4)
                    .left(size >= 3 ? position(data + 1, table(Version::Jet4).size()) : 0);
        allowed = names(Version::Jet4);
    } else if (data[0] <= 5) {
        bytes = edited(realFile(data[0] == 4 ? Version::Jet3 : Version::Jet4), data + 1, size - 1);
    } else {
        bytes = QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
        anyName = true;
    }

    const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
    if (!result.ok() && !result.rows.isEmpty())
        std::abort();
    if (result.ok() && allowed.isEmpty() && !anyName)
        std::abort();
    for (const LanguageRow &row : result.rows)
        if (!anyName && row.name.kind != JetValue::Kind::Null && !allowed.contains(row.name.text)
            && !madeOfOneRow(data[0] == 2 ? Version::Jet3 : Version::Jet4, row.name.text))
            std::abort();
    return 0;
}
