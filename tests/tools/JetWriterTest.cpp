#include "JetWriter.h"
#include "TsvRows.h"
#include "support/JetFixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

JetWriter allTypes(Version version)
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("Mixed"));
    writer.addColumn(QStringLiteral("Id"), Type::LongInteger);
    writer.addColumn(QStringLiteral("Small"), Type::Integer);
    writer.addColumn(QStringLiteral("Label"), Type::Text, 20);
    writer.addColumn(QStringLiteral("Remark"), Type::Memo);
    writer.addColumn(QStringLiteral("Flag"), Type::YesNo);
    const bool jet4 = version == Version::Jet4;
    if (jet4)
        writer.addColumn(QStringLiteral("Exact"), Type::Decimal);
    const QVector<JetWriter::Row> rows { { 1, 7, QStringLiteral("first"), QStringLiteral("a memo"),
                                             true, -7 },
        { -2147483647 - 1, -32768, QStringLiteral("say \"hi\", all"), QVariant(), false,
            qint64(5000000000) },
        { 2147483647, 32767, QVariant(), QStringLiteral("Zeile 1\nZeile 2"), true, 0 },
        { QVariant(), QVariant(), QStringLiteral("Größe €"), QVariant(), false, QVariant() } };
    for (const JetWriter::Row &row : rows)
        writer.addRow(jet4 ? row : row.first(5));
    return writer;
}

int pageCount(const QString &path, const JetWriter &writer)
{
    QFile file(path);
    return int(file.size() / writer.pageSize());
}

} // namespace

// Both versions, every column type, nulls in every type, the extreme values,
// quotes, line breaks and Windows-1252 letters: mdbtools read back exactly
// what was written.
TEST(JetWriter, mdbtoolsReadBackEveryTypeInBothVersions)
{
    TempFolder folder;
    for (Version version : { Version::Jet3, Version::Jet4 }) {
        const JetWriter writer = allTypes(version);
        const QString path
            = folder.path() + (version == Version::Jet3 ? "/mixed3.mdb" : "/mixed4.mdb");
        writeCheckedJetFile(path, writer);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.size() % writer.pageSize(), 0);
        EXPECT_EQ(file.read(20).mid(4, 15), QByteArray("Standard Jet DB"));
    }
}

// Rows over several data pages (Jet 4 with foreign text over many pages is
// the language table reader's fixture) and empty tables.
TEST(JetWriter, jet3RowsOverManyPagesAndEmptyTable)
{
    TempFolder folder;
    JetWriter writer = languageTableWriter({}, Version::Jet3);
    for (int i = 0; i < 300; ++i)
        writer.addRow({ i, QStringLiteral("Sprache Nummer %1 äöü").arg(i) });
    const QString path = writeCheckedJetFile(folder.path() + "/many3.mdb", writer);
    EXPECT_GE(pageCount(path, writer) - 5, 4);

    writeCheckedJetFile(folder.path() + "/empty3.mdb", languageTableWriter({}, Version::Jet3));
    writeCheckedJetFile(folder.path() + "/empty4.mdb", languageTableWriter({}, Version::Jet4));
}

// Values that the file could not hold faithfully are refused, with a reason,
// and no file is written.
TEST(JetWriter, refusesWhatItCannotStore)
{
    TempFolder folder;
    auto refused = [&](const JetWriter &writer) {
        QString error;
        const QString path = folder.path() + "/refused.mdb";
        const bool written = writer.write(path, &error);
        return !written && !error.isEmpty() && !QFile::exists(path);
    };
    EXPECT_TRUE(refused(languageTableWriter({ { 1, QStringLiteral("x").repeated(51) } })));
    EXPECT_TRUE(refused(
        languageTableWriter({ { QStringLiteral("1"), QStringLiteral("text for a number") } })));
    EXPECT_TRUE(refused(languageTableWriter({ { 1, 2 } })));
    EXPECT_TRUE(refused(languageTableWriter({ { qint64(1) << 31, QStringLiteral("too big") } })));
    EXPECT_TRUE(refused(languageTableWriter({ { 1, QStringLiteral("日本語") } }, Version::Jet3)));
    EXPECT_TRUE(refused(languageTableWriter({ { 1, QString::fromUtf8("\xF0\x9F\x98\x80") } })));
    EXPECT_TRUE(refused(languageTableWriter({ { 1, QString(QChar(0xfeff)) + "x" } })));

    JetWriter integer;
    integer.addColumn(QStringLiteral("Small"), Type::Integer);
    integer.addRow({ 32768 });
    EXPECT_TRUE(refused(integer));

    JetWriter shortRow = languageTableWriter({});
    shortRow.addRow({ 1 });
    EXPECT_TRUE(refused(shortRow));

    for (const QString &name : { QString(), QStringLiteral("t").repeated(65) }) {
        JetWriter badName = languageTableWriter({});
        badName.setTableName(name);
        EXPECT_TRUE(refused(badName)) << name.size();
    }

    JetWriter twice;
    twice.addColumn(QStringLiteral("Name"), Type::Text);
    twice.addColumn(QStringLiteral("name"), Type::Text);
    EXPECT_TRUE(refused(twice));

    JetWriter hugeMemo;
    hugeMemo.addColumn(QStringLiteral("Note"), Type::Memo);
    hugeMemo.addRow({ QStringLiteral("m").repeated(3000) }); // 6000 bytes: more than a page
    EXPECT_TRUE(refused(hugeMemo));

    JetWriter longJet3Row = languageTableWriter({}, Version::Jet3);
    longJet3Row.addColumn(QStringLiteral("Note"), Type::Memo);
    longJet3Row.addRow({ 1, QStringLiteral("n"), QStringLiteral("m").repeated(300) });
    EXPECT_TRUE(refused(longJet3Row));
}

// The program's rows: what is not a whole number that fits its column is
// refused with its line and column, not written as 0; an empty number is null;
// a byte-order mark is kept as text, so the writer refuses it.
TEST(JetWriter, tsvRowsRefuseWhatTheyCannotRead)
{
    JetWriter writer = languageTableWriter({});
    writer.addColumn(QStringLiteral("Small"), Type::Integer);
    QString error;
    ASSERT_TRUE(addTsvRows("1\tDeutsch\t7\n\tEnglish\t\r\n", writer, &error))
        << error.toStdString();
    EXPECT_EQ(writer.rows(),
        (QVector<JetWriter::Row> { { 1, QStringLiteral("Deutsch"), 7 },
            { QVariant(), QStringLiteral("English"), QVariant() } }));

    struct Case
    {
        QByteArray field;
        int column;
    };
    const Case cases[]
        = { { "abc", 1 }, { "1.5", 1 }, { "1e3", 1 }, { "0x10", 1 }, { " 1", 1 }, { "+", 1 },
              { "2147483648", 1 }, { "99999999999999999999", 1 }, { "32768", 3 }, { "-32769", 3 } };
    for (const Case &c : cases) {
        JetWriter bad = languageTableWriter({});
        bad.addColumn(QStringLiteral("Small"), Type::Integer);
        const QByteArray line = c.column == 1 ? c.field + "\tX\t1" : "1\tX\t" + c.field;
        EXPECT_FALSE(addTsvRows("2\tY\t2\n" + line + "\n", bad, &error)) << c.field.constData();
        EXPECT_TRUE(error.startsWith(QStringLiteral("line 2, column %1:").arg(c.column)))
            << error.toStdString();
        EXPECT_TRUE(bad.rows().isEmpty());
    }

    JetWriter bom;
    bom.addColumn(QStringLiteral("Name"), Type::Text);
    ASSERT_TRUE(addTsvRows("\xEF\xBB\xBF"
                           "Deutsch\n",
        bom, &error));
    EXPECT_EQ(bom.rows().value(0).value(0), QString(QChar(0xfeff)) + QStringLiteral("Deutsch"));
    EXPECT_FALSE(bom.write(TempFolder().path() + "/bom.mdb", &error));
}
