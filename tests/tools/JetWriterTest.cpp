#include "JetWriter.h"
#include "TsvRows.h"
#include "support/JetFixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace {

using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Writes the file and reads it with mdbtools, readers independent of ours:
// the tables, the columns as mdb-schema declares them, the rows as mdb-export
// prints them (an empty text like a null, both as "<null>").
QString writtenAndReadBack(const JetWriter &writer, const QString &path)
{
    writeJetFile(path, writer);
    QStringList columns;
    for (const QString &line : run("mdb-schema", { "-T", writer.tableName(), path }).split('\n'))
        if (line.startsWith(QLatin1String("\t[")))
            columns << line.simplified();
    return run("mdb-tables", { "-1", path }) + columns.join('\n') + '\n'
        + run("mdb-export", { "-0", "<null>", path, writer.tableName() });
}

} // namespace

// Every column type, nulls, the extreme values, quotes, line breaks and
// Windows-1252 letters, in both versions (Decimal is Jet 4 only).
TEST(JetWriter, mdbtoolsReadBackEveryTypeInBothVersions)
{
    struct Column
    {
        const char *name;
        Type type;
        const char *declared;
        QVariant values[4];
        const char *exported[4];
    };
    const Column columns[] = {
        { "Id", Type::LongInteger, "Long Integer", { 1, -2147483647 - 1, 2147483647, QVariant() },
            { "1", "-2147483648", "2147483647", "<null>" } },
        { "Small", Type::Integer, "Integer", { 7, -32768, 32767, QVariant() },
            { "7", "-32768", "32767", "<null>" } },
        { "Label", Type::Text, "Text (20)",
            { QStringLiteral("first"), QStringLiteral("say \"hi\", all"), QVariant(),
                QStringLiteral("Größe €") },
            { "\"first\"", "\"say \"\"hi\"\", all\"", "<null>", "\"Größe €\"" } },
        { "Remark", Type::Memo, "Memo/Hyperlink (255)",
            { QStringLiteral("a memo"), QVariant(), QStringLiteral("Zeile 1\nZeile 2"),
                QVariant() },
            { "\"a memo\"", "<null>", "\"Zeile 1\nZeile 2\"", "<null>" } },
        { "Flag", Type::YesNo, "Boolean NOT NULL", { true, false, true, false },
            { "1", "0", "1", "0" } },
        { "Exact", Type::Decimal, "Numeric (18, 0)", { -7, qint64(5000000000), 0, QVariant() },
            { "-7", "5000000000", "0", "<null>" } },
    };
    TempFolder folder;
    for (Version version : { Version::Jet3, Version::Jet4 }) {
        JetWriter writer(version);
        writer.setTableName(QStringLiteral("Mixed"));
        QStringList declared, header, exported(4);
        QVector<JetWriter::Row> rows(4);
        for (const Column &c : columns) {
            if (c.type == Type::Decimal && version == Version::Jet3)
                continue;
            writer.addColumn(QString::fromLatin1(c.name), c.type, 20);
            declared << QStringLiteral("[%1] %2,").arg(c.name, c.declared);
            header << QString::fromLatin1(c.name);
            for (int r = 0; r < 4; ++r) {
                rows[r] << c.values[r];
                exported[r] += (header.size() > 1 ? "," : "") + QString::fromUtf8(c.exported[r]);
            }
        }
        for (const JetWriter::Row &row : rows)
            writer.addRow(row);
        declared.last().chop(1);
        EXPECT_EQ(writtenAndReadBack(writer, folder.path() + "/mixed.mdb"),
            "Mixed\n" + declared.join('\n') + '\n' + header.join(',') + '\n' + exported.join('\n')
                + '\n');
    }
}

// Empty tables, and rows over many data pages: Windows-1252 text in Jet 3,
// text in several scripts in Jet 4.
TEST(JetWriter, mdbtoolsReadBackEmptyTablesAndManyPages)
{
    TempFolder folder;
    const QStringList names[] = { { QStringLiteral("Sprache äöü") },
        { QStringLiteral("Čeština"), QStringLiteral("日本語"), QStringLiteral("Ελληνικά"),
            QStringLiteral("Русский") } };
    for (Version version : { Version::Jet3, Version::Jet4 }) {
        qint64 emptyPages = 0;
        for (const int count : { 0, 400 }) {
            JetWriter writer = languageTableWriter({}, version);
            QString expected = "LookupLanguages\n[Language] Long Integer,\n[Name] Text (50)\n"
                               "Language,Name\n";
            const QStringList &script = names[version == Version::Jet4];
            for (int i = 0; i < count; ++i) {
                const QString name = script.at(i % script.size()) + QString::number(i);
                writer.addRow({ i, name });
                expected += QStringLiteral("%1,\"%2\"\n").arg(i).arg(name);
            }
            const QString path = folder.path() + "/languages.mdb";
            EXPECT_EQ(writtenAndReadBack(writer, path), expected);
            const qint64 pages = QFile(path).size() / writer.pageSize();
            if (count == 0)
                emptyPages = pages;
            EXPECT_GE(pages - emptyPages, count ? 3 : 0) << "rows over several data pages";
        }
    }
}

// Values that the file could not hold faithfully are refused, with a reason,
// and no file is written.
TEST(JetWriter, refusesWhatItCannotStore)
{
    const auto language
        = [](const QVariant &number, const QVariant &name, Version version = Version::Jet4) {
              return languageTableWriter({ { number, name } }, version);
          };
    const auto table = [](const QVector<JetWriter::Column> &columns, const JetWriter::Row &row,
                           Version version = Version::Jet4) {
        JetWriter writer(version);
        for (const JetWriter::Column &c : columns)
            writer.addColumn(c.name, c.type, c.textLength);
        if (!row.isEmpty())
            writer.addRow(row);
        return writer;
    };
    JetWriter unnamed = language(1, QStringLiteral("x")), tooLongName = unnamed;
    unnamed.setTableName(QString());
    tooLongName.setTableName(QStringLiteral("t").repeated(65));
    const JetWriter refused[] = { language(1, QStringLiteral("x").repeated(51)),
        language(QStringLiteral("1"), QStringLiteral("text for a number")), language(1, 2),
        language(qint64(1) << 31, QStringLiteral("too big")),
        language(1, QStringLiteral("日本語"), Version::Jet3),
        language(1, QString::fromUtf8("\xF0\x9F\x98\x80")),
        language(1, QString(QChar(0xfeff)) + "x"), unnamed, tooLongName,
        table({ { "Small", Type::Integer } }, { 32768 }),
        table({ { "Language", Type::LongInteger }, { "Name", Type::Text } }, { 1 }),
        table({ { "Name", Type::Text }, { "name", Type::Text } }, {}),
        table({ { "Note", Type::Memo } }, { QStringLiteral("m").repeated(3000) }),
        table({ { "Id", Type::LongInteger }, { "Note", Type::Memo } },
            { 1, QStringLiteral("m").repeated(300) }, Version::Jet3) };
    TempFolder folder;
    const QString path = folder.path() + "/refused.mdb";
    for (const JetWriter &writer : refused) {
        QString error;
        EXPECT_FALSE(writer.write(path, &error)) << &writer - refused;
        EXPECT_FALSE(error.isEmpty() || QFile::exists(path)) << &writer - refused;
    }
}

// The program's rows: what is not a whole number that fits its column is
// refused with its line and column, not written as 0; an empty number is null;
// a byte-order mark is kept as text, so the writer refuses it.
TEST(JetWriter, tsvRowsRefuseWhatTheyCannotRead)
{
    const auto writer = [] {
        JetWriter w = languageTableWriter({});
        w.addColumn(QStringLiteral("Small"), Type::Integer);
        return w;
    };
    JetWriter good = writer();
    QString error;
    ASSERT_TRUE(addTsvRows("1\tDeutsch\t7\n\tEnglish\t\r\n", good, &error)) << error.toStdString();
    EXPECT_EQ(good.rows(),
        (QVector<JetWriter::Row> { { 1, QStringLiteral("Deutsch"), 7 },
            { QVariant(), QStringLiteral("English"), QVariant() } }));

    for (const QByteArray line :
        { "abc\tX\t1", "1.5\tX\t1", "1e3\tX\t1", "0x10\tX\t1", " 1\tX\t1", "+\tX\t1",
            "2147483648\tX\t1", "99999999999999999999\tX\t1", "1\tX\t32768", "1\tX\t-32769" }) {
        JetWriter bad = writer();
        EXPECT_FALSE(addTsvRows("2\tY\t2\n" + line + "\n", bad, &error)) << line.constData();
        EXPECT_TRUE(error.startsWith(
            QStringLiteral("line 2, column %1:").arg(line.startsWith("1\tX") ? 3 : 1)))
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
