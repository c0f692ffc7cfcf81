#include "jet/JetLanguageTable.h"
#include "jet/JetFileCheck.h"
#include "jet/LibmdbLanguageRead.h"
#include "support/JetFixtures.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using Kind = JetValue::Kind;
using Status = LanguageTableResult::Status;
using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

// The rows as "language|name" texts: "null", "num:N", "text:T" or "other:T".
QStringList describe(const LanguageTableResult &result)
{
    const auto one = [](const JetValue &v) {
        const char *kinds[] = { "null", "num:", "text:", "other:" };
        return kinds[int(v.kind)] + (v.kind == Kind::Number ? QString::number(v.number) : v.text);
    };
    QStringList rows;
    for (const LanguageRow &row : result.rows)
        rows << one(row.language) + QLatin1Char('|') + one(row.name);
    return rows;
}

} // namespace

// In file order, both versions: numbers as numbers (Yes is -1), null apart from empty text.
TEST(JetLanguageTable, readsRowsInFileOrder)
{
    struct Case
    {
        Type language, name;
        QVector<JetWriter::Row> rows;
        QStringList expected;
    };
    const Case cases[] = {
        { Type::LongInteger, Type::Text, { { 2, "English" }, { 1, "Deutsch" } },
            { "num:2|text:English", "num:1|text:Deutsch" } },
        { Type::Text, Type::Memo, { { "1", QVariant() }, { "", "" }, { QVariant(), "Deutsch" } },
            { "text:1|null", "text:|text:", "null|text:Deutsch" } },
        { Type::YesNo, Type::Text, { { true, "Yes" }, { false, "No" } },
            { "num:-1|text:Yes", "num:0|text:No" } },
        { Type::Decimal, Type::Text, { { -2, "Minus" }, { 3, "Three" } },
            { "num:-2|text:Minus", "num:3|text:Three" } },
    };
    for (Version version : { Version::Jet3, Version::Jet4 })
        for (const Case &c : cases) {
            if (c.language == Type::Decimal && version == Version::Jet3)
                continue; // Jet 4 only
            const JetWriter writer = languageTableWriter(
                c.rows, version, { { "Language", c.language }, { "Name", c.name } });
            EXPECT_EQ(describe(JetLanguageTable::readBytes(writer.build())), c.expected);
        }
    const JetWriter nameFirst = languageTableWriter({ { "Deutsch", 1 } }, Version::Jet4,
        { { "Name", Type::Text }, { "Language", Type::Integer } });
    EXPECT_EQ(describe(JetLanguageTable::readBytes(nameFirst.build())),
        QStringList { "num:1|text:Deutsch" });
}

// Other columns around the two, names in another case, text beyond ASCII, many pages.
TEST(JetLanguageTable, extraColumnsForeignTextAndManyPages)
{
    JetWriter writer = languageTableWriter({}, Version::Jet4,
        { { "ID", Type::LongInteger }, { "Comment", Type::Memo }, { "LANGUAGE", Type::Integer },
            { "Code", Type::Text, 5 }, { "name", Type::Text, 40 } });
    writer.setTableName(QStringLiteral("lookuplanguages"));
    const QStringList names { "Français", "Čeština", "日本語" };
    QStringList expected;
    for (int i = 0; i < 360; ++i) {
        const QString name = names.at(i % 3) + QString::number(i);
        writer.addRow({ 1000 + i, QStringLiteral("comment %1").arg(i), i - 5,
            QStringLiteral("c%1").arg(i % 100), name });
        expected << QStringLiteral("num:%1|text:%2").arg(i - 5).arg(name);
    }
    const QByteArray bytes = writer.build();
    ASSERT_GT(bytes.size() / 4096, 8);
    EXPECT_EQ(describe(JetLanguageTable::readBytes(bytes)), expected);
}

// Every failure with its reason, never a crash, never a name the file does not hold.
TEST(JetLanguageTable, reportsEveryFailure)
{
    TempFolder folder;
    JetLanguageTable table;
    EXPECT_EQ(table.read(folder.path() + "/none.mdb").status, Status::FileMissing);
    EXPECT_EQ(table.read(folder.path()).status, Status::FileMissing);
    EXPECT_EQ(table.read(folder.write("empty.mdb", QByteArray())).status, Status::NotJet);
    EXPECT_EQ(
        table.read(folder.write("text.mdb", "[Global]\r\nLanguage=1\r\n")).status, Status::NotJet);
    // Real files from the desktop database program, without the table.
    for (const char *name : { "access97-sample.mdb", "access2000-sample.mdb" })
        EXPECT_EQ(
            table.read(TAVLIN_SOURCE_DIR "/tests/data/jet/" + QString::fromLatin1(name)).status,
            Status::TableMissing);

    const auto statusOf
        = [](const QByteArray &bytes) { return JetLanguageTable::readBytes(bytes).status; };
    // A column missing: each of the two in turn is named a little differently.
    for (const auto &[language, name] : { std::pair { "Lang", "Name" }, { "Language", "Names" } }) {
        const JetWriter writer = languageTableWriter({ { 1, "Deutsch" } }, Version::Jet4,
            { { language, Type::LongInteger }, { name, Type::Text } });
        EXPECT_EQ(statusOf(writer.build()), Status::ColumnMissing) << language;
    }

    for (const QString &name : { QStringLiteral("Mag\x1cyar"), QStringLiteral("Fran\tçais"),
             QStringLiteral("\u0085Polski"), QStringLiteral("English\x7f") })
        EXPECT_EQ(statusOf(languageTableWriter({ { 1, name } }).build()), Status::Damaged)
            << name.toStdString();
    const QByteArray bytes = languageTableWriter({ { 1, "Deutsch" } }).build();
    QByteArray newer = bytes;
    newer[0x14] = 3; // an Access 2010 file
    EXPECT_EQ(statusOf(newer), Status::NotJet);
    EXPECT_EQ(statusOf(bytes.left(bytes.size() - 100)), Status::Damaged);
    QByteArray farMap = bytes; // the catalog's usage map 256 pages further on, beyond the file
    farMap[2 * 4096 + 55 + 2] = 1;
    EXPECT_EQ(checkJetFile(farMap), JetFileKind::Damaged);
    QByteArray emptyRow = bytes; // the usage map's row of no length, at its page's end
    const quint32 map = qFromLittleEndian<quint32>(bytes.constData() + 2 * 4096 + 55);
    qToLittleEndian<quint16>(0x1000, emptyRow.data() + (map >> 8) * 4096 + 14 + 2 * (map & 0xff));
    EXPECT_EQ(checkJetFile(emptyRow), JetFileKind::Damaged) << (map & 0xff);
    QByteArray noCatalog = bytes;
    noCatalog[2 * 4096] = 0x01;
    EXPECT_EQ(statusOf(noCatalog), Status::Damaged);

    // Damage libmdb reads through silently: row count, Name column type, NUL inside the name.
    const qsizetype dataPage = 5 * 4096;
    const qsizetype nameType = 4 * 4096 + 63 + 25; // the second column descriptor
    ASSERT_EQ(bytes.at(dataPage + 12), 1); // the row count
    ASSERT_EQ(bytes.at(nameType), 0x0a); // Text
    const qsizetype letterU = bytes.indexOf(QByteArray("D\0e\0u\0", 6), dataPage) + 4;
    ASSERT_GT(letterU, dataPage);
    for (const qsizetype at : { dataPage + 12, nameType, letterU }) {
        QByteArray damaged = bytes;
        damaged[at] = at == letterU ? 0 : 4;
        EXPECT_EQ(statusOf(damaged), Status::Damaged) << at;
    }
}

// A file that makes libmdb itself crash: only the isolated read survives it.
TEST(JetLanguageTable, survivesACrashInsideLibmdb)
{
    QByteArray bytes = languageTableWriter({ { 1, "Deutsch" } }).build();
    // The usage-map pointer names row 0x80 of a map page holding four.
    bytes[4 * 4096 + 55] = char(0x80);
    ASSERT_EQ(checkJetFile(bytes), JetFileKind::Jet4);

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(readLanguageTableWithLibmdb(bytes), "");

    const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
    EXPECT_EQ(result.status, Status::Damaged);
    EXPECT_TRUE(result.rows.isEmpty());
}
