#include "jet/JetFileCheck.h"
#include "jet/JetLanguageTable.h"
#include "jet/LibmdbLanguageRead.h"
#include "support/JetFixtures.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/wait.h>

namespace {

using Kind = JetValue::Kind;
using Status = LanguageTableResult::Status;
using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                   .size());
}

// The rows as "language|name" texts, with "null" and "num:" / "text:" marks.
QStringList describe(const LanguageTableResult &result)
{
    auto one = [](const JetValue &v) {
        switch (v.kind) {
        case Kind::Null:
            return QStringLiteral("null");
        case Kind::Number:
            return QStringLiteral("num:") + QString::number(v.number);
        case Kind::Text:
            return QStringLiteral("text:") + v.text;
        case Kind::Other:
            return QStringLiteral("other:") + v.text;
        }
        return QString();
    };
    QStringList rows;
    for (const LanguageRow &row : result.rows)
        rows << one(row.language) + QLatin1Char('|') + one(row.name);
    return rows;
}

} // namespace

// The two-row example in both Jet versions, rows in the file's order, numbers
// as numbers, names as texts; the file is left as it was.
TEST(JetLanguageTable, readsBothVersionsInFileOrder)
{
    TempFolder folder;
    for (Version version : { Version::Jet3, Version::Jet4 }) {
        const QString path = writeJetFile(
            folder.path() + (version == Version::Jet3 ? "/v3.mdb" : "/v4.mdb"),
            languageTableWriter(
                { { 2, QStringLiteral("English") }, { 1, QStringLiteral("Deutsch") } }, version));
        const QByteArray before = fileBytes(path);
        const LanguageTableResult result = JetLanguageTable().read(path);
        ASSERT_EQ(result.status, Status::Ok);
        EXPECT_EQ(describe(result), (QStringList { "num:2|text:English", "num:1|text:Deutsch" }));
        EXPECT_EQ(fileBytes(path), before);
    }
}

// Yes/No has no bytes of its own: Yes is -1, No is 0.
TEST(JetLanguageTable, yesNoReadsAsMinusOneOrZero)
{
    TempFolder folder;
    JetWriter writer;
    writer.setTableName(QStringLiteral("LookupLanguages"));
    writer.addColumn(QStringLiteral("Language"), Type::YesNo);
    writer.addColumn(QStringLiteral("Name"), Type::Text);
    writer.addRow({ true, QStringLiteral("Yes") });
    writer.addRow({ false, QStringLiteral("No") });
    const LanguageTableResult result
        = JetLanguageTable().read(writeJetFile(folder.path() + "/yesno.mdb", writer));
    EXPECT_EQ(describe(result), (QStringList { "num:-1|text:Yes", "num:0|text:No" }));
}

// A null is told apart from an empty text, in both columns and both versions.
TEST(JetLanguageTable, nullIsNotAnEmptyText)
{
    TempFolder folder;
    for (Version version : { Version::Jet3, Version::Jet4 }) {
        JetWriter writer(version);
        writer.setTableName(QStringLiteral("LookupLanguages"));
        writer.addColumn(QStringLiteral("Language"), Type::Text, 10);
        writer.addColumn(QStringLiteral("Name"), Type::Memo);
        writer.addRow({ QStringLiteral("1"), QVariant() });
        writer.addRow({ QString(), QString() });
        writer.addRow({ QVariant(), QStringLiteral("Deutsch") });
        const QString path = writeJetFile(folder.path() + "/nulls.mdb", writer);
        const LanguageTableResult result = JetLanguageTable().read(path);
        ASSERT_EQ(result.status, Status::Ok);
        EXPECT_EQ(
            describe(result), (QStringList { "text:1|null", "text:|text:", "null|text:Deutsch" }));
    }
}

// Other columns before and between the two, Integer numbers, column names in
// another case, text beyond ASCII, and a few hundred rows over several pages.
TEST(JetLanguageTable, extraColumnsForeignTextAndManyPages)
{
    TempFolder folder;
    JetWriter writer(Version::Jet4);
    writer.setTableName(QStringLiteral("lookuplanguages"));
    writer.addColumn(QStringLiteral("ID"), Type::LongInteger);
    writer.addColumn(QStringLiteral("Comment"), Type::Memo);
    writer.addColumn(QStringLiteral("LANGUAGE"), Type::Integer);
    writer.addColumn(QStringLiteral("Code"), Type::Text, 5);
    writer.addColumn(QStringLiteral("name"), Type::Text, 40);
    const QStringList names { QStringLiteral("Français"), QStringLiteral("Čeština"),
        QStringLiteral("日本語") };
    for (int i = 0; i < 360; ++i)
        writer.addRow({ 1000 + i, QStringLiteral("comment %1").arg(i), i - 5,
            QStringLiteral("c%1").arg(i % 100), names.at(i % 3) + QString::number(i) });
    const QString path = writeJetFile(folder.path() + "/many.mdb", writer);
    ASSERT_GT(QFileInfo(path).size() / 4096, 8);

    const LanguageTableResult result = JetLanguageTable().read(path);
    ASSERT_EQ(result.status, Status::Ok);
    ASSERT_EQ(result.rows.size(), 360);
    for (int i = 0; i < 360; ++i) {
        EXPECT_EQ(result.rows.at(i).language.kind, Kind::Number);
        EXPECT_EQ(result.rows.at(i).language.number, i - 5);
        EXPECT_EQ(result.rows.at(i).name.text, names.at(i % 3) + QString::number(i));
    }
}

// Every failure is a failure with its reason, never a crash, and no file
// descriptor stays open afterwards.
TEST(JetLanguageTable, reportsEveryFailure)
{
    TempFolder folder;
    const int descriptors = openDescriptors();
    JetLanguageTable table;

    EXPECT_EQ(table.read(folder.path() + "/none.mdb").status, Status::FileMissing);
    EXPECT_EQ(table.read(folder.path()).status, Status::FileMissing);
    EXPECT_EQ(table.read(folder.write("empty.mdb", QByteArray())).status, Status::NotJet);
    EXPECT_EQ(
        table.read(folder.write("text.mdb", "[Global]\r\nLanguage=1\r\n")).status, Status::NotJet);

    const QString valid = writeJetFile(
        folder.path() + "/valid.mdb", languageTableWriter({ { 1, QStringLiteral("Deutsch") } }));
    const QByteArray bytes = fileBytes(valid);
    QByteArray newer = bytes;
    newer[0x14] = 3; // an Access 2010 file
    EXPECT_EQ(JetLanguageTable::readBytes(newer).status, Status::NotJet);
    EXPECT_EQ(JetLanguageTable::readBytes(bytes.left(bytes.size() - 100)).status, Status::Damaged);
    EXPECT_EQ(JetLanguageTable::readBytes(bytes.left(1000)).status, Status::Damaged);
    QByteArray noCatalog = bytes;
    noCatalog[2 * 4096] = 0x01;
    EXPECT_EQ(JetLanguageTable::readBytes(noCatalog).status, Status::Damaged);

    // Damage that libmdb reads through without a word, each of which would
    // yield a name the file does not hold: a data page counting more rows
    // than it has, the Name column's type made a number, a NUL inside the name.
    const qsizetype dataPage = 5 * 4096;
    const qsizetype nameType = 4 * 4096 + 63 + 25; // the second column descriptor
    ASSERT_EQ(bytes.at(dataPage + 12), 1); // the row count
    ASSERT_EQ(bytes.at(nameType), 0x0a); // Text
    const qsizetype letterU = bytes.indexOf(QByteArray("D\0e\0u\0", 6), dataPage) + 4;
    ASSERT_GT(letterU, dataPage);
    for (const qsizetype at : { dataPage + 12, nameType, letterU }) {
        QByteArray damaged = bytes;
        damaged[at] = at == letterU ? 0 : 4;
        EXPECT_EQ(JetLanguageTable::readBytes(damaged).status, Status::Damaged) << at;
    }

    // Whole pages cut off the end: the data page is gone.
    const LanguageTableResult cut = JetLanguageTable::readBytes(bytes.left(5 * 4096));
    EXPECT_TRUE(cut.status == Status::Damaged || (cut.ok() && cut.rows.isEmpty()));

    JetWriter otherTable = languageTableWriter({ { 1, QStringLiteral("Deutsch") } });
    otherTable.setTableName(QStringLiteral("LookupLanguage"));
    EXPECT_EQ(table.read(writeJetFile(folder.path() + "/other.mdb", otherTable)).status,
        Status::TableMissing);
    // A column missing: each of the two in turn is named a little differently.
    for (const bool languageMissing : { true, false }) {
        JetWriter writer;
        writer.setTableName(QStringLiteral("LookupLanguages"));
        writer.addColumn(languageMissing ? QStringLiteral("Lang") : QStringLiteral("Language"),
            Type::LongInteger);
        writer.addColumn(
            languageMissing ? QStringLiteral("Name") : QStringLiteral("Names"), Type::Text);
        writer.addRow({ 1, QStringLiteral("Deutsch") });
        EXPECT_EQ(table.read(writeJetFile(folder.path() + "/col.mdb", writer)).status,
            Status::ColumnMissing)
            << languageMissing;
    }

    // Real files from the desktop database program, without the table.
    EXPECT_EQ(table.read(realJetFile("access97-sample.mdb")).status, Status::TableMissing);
    EXPECT_EQ(table.read(realJetFile("access2000-sample.mdb")).status, Status::TableMissing);

    // Random bytes, with and without a Jet header in front.
    QRandomGenerator random(5);
    for (int i = 0; i < 20; ++i) {
        QByteArray noise(4096 * 6, '\0');
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        EXPECT_FALSE(JetLanguageTable::readBytes(noise).ok());
        const QByteArray headed = bytes.left(4096) + noise;
        const LanguageTableResult result = JetLanguageTable::readBytes(headed);
        EXPECT_FALSE(result.ok() && !result.rows.isEmpty());
    }

    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1); // no child left behind
}

// A file that passes the cheap checks but makes libmdb itself crash: the
// read in this process dies, the isolated read reports a damaged file.
TEST(JetLanguageTable, survivesACrashInsideLibmdb)
{
    TempFolder folder;
    const QString path = writeJetFile(
        folder.path() + "/crash.mdb", languageTableWriter({ { 1, QStringLiteral("Deutsch") } }));
    QByteArray bytes = fileBytes(path);
    // The user table's usage-map pointer names row 0x80 of the map page,
    // which has four rows; libmdb copies the "row" from wherever that lands.
    bytes[4 * 4096 + 55] = char(0x80);
    ASSERT_EQ(checkJetFile(bytes), JetFileKind::Jet4);

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(readLanguageTableWithLibmdb(bytes), "");

    const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
    EXPECT_EQ(result.status, Status::Damaged);
    EXPECT_TRUE(result.rows.isEmpty());
}
