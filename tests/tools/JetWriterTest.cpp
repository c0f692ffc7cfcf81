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

// Tables, columns and rows as mdbtools, readers independent of ours, see them.
QString writtenAndReadBack(const JetWriter &writer, const QString &path)
{
    QString error;
    EXPECT_TRUE(writer.write(path, &error)) << error.toStdString();
    QStringList columns;
    for (const QString &line : run("mdb-schema", { "-T", writer.tableName(), path }).split('\n'))
        if (line.startsWith(QLatin1String("\t[")))
            columns << line.simplified();
    return run("mdb-tables", { "-1", path }) + columns.join('\n') + '\n'
        + run("mdb-export", { "-0", "<null>", path, writer.tableName() });
}

} // namespace

// Every type, nulls, extremes, quotes, line breaks, Windows-1252; empty and over many pages.
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
        { "Label", Type::Text, "Text (20)", { "first", "say \"hi\", all", QVariant(), "Größe €" },
            { "\"first\"", "\"say \"\"hi\"\", all\"", "<null>", "\"Größe €\"" } },
        { "Remark", Type::Memo, "Memo/Hyperlink (255)",
            { "a memo", QVariant(), "Zeile 1\nZeile 2", QVariant() },
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
            declared << QStringLiteral("[%1] %2").arg(c.name, c.declared);
            header << QString::fromLatin1(c.name);
            for (int r = 0; r < 4; ++r) {
                rows[r] << c.values[r];
                exported[r] += (header.size() > 1 ? "," : "") + QString::fromUtf8(c.exported[r]);
            }
        }
        const QString head = "Mixed\n" + declared.join(",\n") + '\n' + header.join(',') + '\n';
        const QString path = folder.path() + "/mixed.mdb";
        EXPECT_EQ(writtenAndReadBack(writer, path), head);
        const qint64 emptySize = QFile(path).size();
        for (int r = 0; r < 400; ++r)
            writer.addRow(rows[r % 4]);
        EXPECT_EQ(
            writtenAndReadBack(writer, path), head + (exported.join('\n') + '\n').repeated(100));
        EXPECT_GE((QFile(path).size() - emptySize) / writer.pageSize(), 3) << "several pages";
    }
}

// Unreadable numbers are refused with line and column, never written as 0; a BOM stays text.
TEST(JetWriter, tsvRowsRefuseWhatTheyCannotRead)
{
    const JetWriter empty = languageTableWriter({}, Version::Jet4,
        { { "Language", Type::LongInteger }, { "Name", Type::Text }, { "Small", Type::Integer } });
    JetWriter good = empty;
    QString error;
    ASSERT_TRUE(addTsvRows("1\tDeutsch\t7\n\tEnglish\t\r\n", good, &error)) << error.toStdString();
    EXPECT_EQ(good.rows(),
        (QVector<JetWriter::Row> { { 1, "Deutsch", 7 }, { QVariant(), "English", QVariant() } }));

    for (const QByteArray line :
        { "abc\tX\t1", "1.5\tX\t1", "1e3\tX\t1", "0x10\tX\t1", " 1\tX\t1", "+\tX\t1",
            "2147483648\tX\t1", "99999999999999999999\tX\t1", "1\tX\t32768", "1\tX\t-32769" }) {
        JetWriter bad = empty;
        EXPECT_FALSE(addTsvRows("2\tY\t2\n" + line + "\n", bad, &error)) << line.constData();
        EXPECT_TRUE(error.startsWith(
            QStringLiteral("line 2, column %1:").arg(line.startsWith("1\tX") ? 3 : 1)))
            << error.toStdString();
        EXPECT_TRUE(bad.rows().isEmpty());
    }

    JetWriter bom = languageTableWriter({}, Version::Jet4, { { "Name", Type::Text } });
    ASSERT_TRUE(addTsvRows("\xEF\xBB\xBF" + QByteArray("Deutsch\n"), bom, &error));
    EXPECT_TRUE(bom.build(&error).isEmpty());
}
