#include "jet/JetLanguageTable.h"
#include "jet/LibmdbLanguageRead.h"
#include "support/JetFixtures.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using Status = LanguageTableResult::Status;
using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

// A language table of three rows, and where row 1 ("English") lies. libmdb reads each damage
// below through as a sound table, its names shifted into their neighbours' bytes.
struct Table
{
    QByteArray bytes;
    bool jet4;
    int pageSize, countAt;
    qsizetype page = 0;
    int start = 0, end = 0;

    Table(Version version, const QVector<JetWriter::Column> &columns,
        const QVector<JetWriter::Row> &rows)
        : bytes(languageTableWriter(rows, version, columns).build())
        , jet4(version == Version::Jet4)
        , pageSize(jet4 ? 4096 : 2048)
        , countAt(jet4 ? 12 : 8)
    {
        const QByteArray english = jet4 ? QByteArray("E\0n\0g\0l\0i\0s\0h\0", 14) : "English";
        page = bytes.indexOf(english) / pageSize * pageSize;
        start = qFromLittleEndian<quint16>(entry(1)) & 0x1fff;
        end = qFromLittleEndian<quint16>(entry(0)) & 0x1fff;
    }
    explicit Table(Version version)
        : Table(version, { { "Language", Type::LongInteger }, { "Name", Type::Text } },
            { { 1, "Deutsch" }, { 2, "English" }, { 3, "Français" } })
    { }
    char *entry(int row) { return bytes.data() + page + countAt + 2 + 2 * row; }
    // Byte `at` of row 1, counted from its end when negative.
    char &at(int at) { return bytes[page + (at < 0 ? end : start) + at]; }
    // The place in row 1 of the variable columns' offset `i` (the end of data after the last).
    int offsetAt(int i) const { return jet4 ? -5 - 2 * i : -3 - i; }
    Status status() const { return JetLanguageTable::readBytes(bytes).status; }
};

} // namespace

// Rows the desktop database program wrote pass every check, in both versions.
TEST(JetRowLayout, realFilesReadWhole)
{
    for (const char *name : { "access97-sample.mdb", "access2000-sample.mdb" }) {
        QFile file(TAVLIN_SOURCE_DIR "/tests/data/jet/" + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QStringList texts;
        for (const LanguageRow &row : readTwoColumnsWithLibmdb(bytes, "Table1", "A", "B").rows)
            texts << row.language.text + '|' + row.name.text;
        texts.sort();
        EXPECT_EQ(texts, QStringList({ "abcdefg|hijklmnop", "a|b" })) << name;
        const LanguageTableResult catalog
            = readTwoColumnsWithLibmdb(bytes, "MSysObjects", "Id", "Name");
        EXPECT_EQ(catalog.status, Status::Ok) << name;
        EXPECT_EQ(catalog.rows.size(), 22) << name;
    }
}

// Every entry of the row table inside the page and below the one before: no row is skipped
// while its bytes are still taken as another's.
TEST(JetRowLayout, rowTableEntriesBoundEachRow)
{
    for (const Version version : { Version::Jet3, Version::Jet4 }) {
        Table atPageEnd(version);
        ASSERT_EQ(atPageEnd.status(), Status::Ok);
        qToLittleEndian<quint16>(atPageEnd.pageSize, atPageEnd.entry(1));
        EXPECT_EQ(atPageEnd.status(), Status::Damaged);
        Table overlapping(version);
        qToLittleEndian<quint16>(overlapping.start + 2, overlapping.entry(2));
        EXPECT_EQ(overlapping.status(), Status::Damaged);
    }
}

// The column count, the count of variable columns and their offsets agree with the row.
TEST(JetRowLayout, offsetTableMatchesTheRow)
{
    for (const Version version : { Version::Jet3, Version::Jet4 }) {
        const auto damaged = [version](const std::function<void(Table &)> &damage) {
            Table table(version);
            damage(table);
            return table.status();
        };
        EXPECT_EQ(damaged([](Table &t) { ++t.at(t.offsetAt(0)); }), Status::Damaged);
        EXPECT_EQ(damaged([](Table &t) { ++t.at(t.offsetAt(1)); }), Status::Damaged);
        EXPECT_EQ(damaged([](Table &t) { ++t.at(t.jet4 ? -3 : -2); }), Status::Damaged);
        EXPECT_EQ(damaged([](Table &t) { t.at(0) = 3; }), Status::Damaged);
    }
}

// A value no longer than its column, Jet 4 text two bytes a character, a Memo's pages data pages.
TEST(JetRowLayout, valuesHoldWhatTheirColumnsAllow)
{
    const QVector<JetWriter::Column> codeAndName { { "Language", Type::LongInteger },
        { "Code", Type::Text, 20 }, { "Name", Type::Text, 8 } };
    const QVector<JetWriter::Row> rows { { 1, "Sprache1", "Deutsch" }, { 2, "Sprache2", "English" },
        { 3, "Sprache3", "Magyar" } };
    for (const Version version : { Version::Jet3, Version::Jet4 }) {
        Table joined(version, codeAndName, rows); // "Sprache2English" as the name
        joined.at(joined.offsetAt(1)) = joined.at(joined.offsetAt(0));
        EXPECT_EQ(joined.status(), Status::Damaged);
    }
    for (const Version version : { Version::Jet3, Version::Jet4 }) {
        Table memoShort(version,
            { { "Language", Type::LongInteger }, { "Comment", Type::Memo },
                { "Name", Type::Text } },
            { { 1, "über 1", "Deutsch" }, { 2, "über 2", "English" }, { 3, "über 3", "Magyar" } });
        memoShort.at(memoShort.offsetAt(1)) -= memoShort.jet4 ? 2 : 1; // "2English" as the name
        EXPECT_EQ(memoShort.status(), Status::Damaged);
    }
    Table oddText(Version::Jet4, codeAndName, rows);
    ++oddText.at(oddText.offsetAt(1));
    EXPECT_EQ(oddText.status(), Status::Damaged);

    Table memo(Version::Jet4, { { "Language", Type::LongInteger }, { "Name", Type::Memo } },
        { { 1, "Deutsch" }, { 2, "English" }, { 3, "Français" } });
    char *header = &memo.at(2 + 4);
    qToLittleEndian<quint32>(14, header); // no longer kept in the row: on page 4, the definition's
    qToLittleEndian<quint32>(4 << 8, header + 4);
    EXPECT_EQ(memo.status(), Status::Damaged);
}

// Jet 3 rows of 256 bytes or more take their offsets' high bytes from the jump table.
TEST(JetRowLayout, wideJet3RowsReadWithTheirJumpTable)
{
    JetWriter writer = languageTableWriter({}, Version::Jet3,
        { { "Language", Type::LongInteger }, { "Note", Type::Text, 255 },
            { "Other", Type::Text, 255 }, { "Name", Type::Text } });
    QStringList names;
    for (int i = 0; i < 30; ++i) { // the widest row: 216 + 249 bytes of text
        names << QStringList { "Deutsch", "English", "Magyar" }.at(i % 3);
        writer.addRow({ i, QString(i * 8 % 250, 'a'), QString(i * 37 % 250, 'b'), names.last() });
    }
    QByteArray bytes = writer.build();
    QStringList read;
    for (const LanguageRow &row : JetLanguageTable::readBytes(bytes).rows)
        read << row.name.text;
    EXPECT_EQ(read, names);
    // The widest row's first jump (below its count and one-byte null mask) set to column 0.
    const qsizetype text = bytes.indexOf(QByteArray(249, 'b')), page = text / 2048 * 2048;
    int end = 2048, start = 2048;
    for (int row = 0; page + start > text; ++row) {
        end = start;
        start = qFromLittleEndian<quint16>(bytes.constData() + page + 10 + 2 * row) & 0x1fff;
    }
    ASSERT_NE(bytes.at(page + end - 3), 0);
    bytes[page + end - 3] = 0;
    EXPECT_EQ(JetLanguageTable::readBytes(bytes).status, Status::Damaged);
}
