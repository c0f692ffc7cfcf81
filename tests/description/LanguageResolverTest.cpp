#include "description/LanguageResolver.h"
#include "state/ScreenContext.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "semantics/AnsiText.h"
#include "jet/JetLanguageTable.h"
#include "support/FakePlatform.h"
#include "support/JetFixtures.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Status = LanguageTableResult::Status;
using Version = JetWriter::Version;

// Hands out prepared rows and remembers the paths asked for.
class FakeLanguageTable : public LanguageTable
{
public:
    LanguageTableResult read(const QString &windowsPath) override
    {
        paths.append(windowsPath);
        return result;
    }
    LanguageTableResult result;
    QStringList paths;
};

JetValue num(double n)
{
    return JetValue::fromNumber(n);
}
JetValue text(const char *t)
{
    return JetValue::fromText(QString::fromUtf8(t));
}
const JetValue null = JetValue::null();

QString resolve(qint16 languageNumber, const QVector<LanguageRow> &rows, Status status = Status::Ok)
{
    FakePlatform platform;
    FakeLanguageTable table;
    table.result.status = status;
    table.result.rows = rows;
    ScreenContext context;
    context.VisuPfad = QStringLiteral("D:\\Visu\\");
    context.LanguageNumber = languageNumber;
    ResolveLanguage(context, table);
    EXPECT_EQ(table.paths, QStringList { "D:\\Visu\\Program\\Tools\\Languages.mdb" });
    EXPECT_TRUE(platform.messageBox.messages.isEmpty());
    EXPECT_TRUE(platform.messageBox.errors.isEmpty());
    return context.LanguageName;
}

// LookupLanguages as the Deutsch/English example, written as a real file
// under VisuPfad in the given version.
QString writeLanguages(const TempFolder &folder, const JetWriter &writer)
{
    return writeCheckedJetFile(folder.path() + "/Visu/Program/Tools/Languages.mdb", writer);
}

QString resolveFromFile(const TempFolder &folder, qint16 languageNumber)
{
    FakePlatform platform;
    ScreenContext context;
    context.VisuPfad = QString(folder.path()).replace('/', '\\') + "\\Visu\\";
    context.LanguageNumber = languageNumber;
    ResolveLanguage(context);
    EXPECT_TRUE(platform.messageBox.messages.isEmpty());
    EXPECT_TRUE(platform.messageBox.errors.isEmpty());
    return context.LanguageName;
}

} // namespace

TEST(ResolveLanguage, lastMatchingRowWinsElseEnglish)
{
    const QVector<LanguageRow> example { { num(1), text("Deutsch") }, { num(2), text("English") } };
    EXPECT_EQ(resolve(1, example), "Deutsch");
    EXPECT_EQ(resolve(2, example), "English");
    EXPECT_EQ(resolve(7, example), "English");
    EXPECT_EQ(resolve(-1, example), "English"); // the key was missing from the description

    // Every row is examined: the later of two rows with the same number wins,
    // and a non-matching row after it changes nothing.
    EXPECT_EQ(
        resolve(
            1, { { num(1), text("Deutsch") }, { num(1), text("German") }, { num(2), text("x") } }),
        "German");
    // An empty name on the last matching row falls back to English, even
    // after an earlier match.
    EXPECT_EQ(resolve(1, { { num(1), text("Deutsch") }, { num(1), text("") } }), "English");
    EXPECT_EQ(resolve(1, { { num(1), text("") } }), "English");
    EXPECT_EQ(resolve(1, {}), "English");
    // The name is taken as it stands.
    EXPECT_EQ(resolve(3, { { num(3), text(" Česky ") } }), " Česky ");
    EXPECT_EQ(resolve(-32768, { { num(-32768), text("Min") } }), "Min");
}

// Mends: a null name on the matching row, and every failure to read the
// table, give English silently instead of ending the program.
TEST(ResolveLanguage, nullNameAndUnreadableTableGiveEnglish)
{
    EXPECT_EQ(resolve(1, { { num(1), null } }), "English");
    EXPECT_EQ(resolve(1, { { num(1), text("Deutsch") }, { num(1), null } }), "English");
    EXPECT_EQ(resolve(1, { { num(1), null }, { num(1), text("Deutsch") } }), "Deutsch");
    for (Status status : { Status::FileMissing, Status::NotJet, Status::Damaged,
             Status::TableMissing, Status::ColumnMissing })
        EXPECT_EQ(resolve(1, { { num(1), text("Deutsch") } }, status), "English") << int(status);
}

// Numeric equality: a null or empty value never matches; a text column
// matches when it holds the number as a whole.
TEST(ResolveLanguage, numericEqualityOfTheLanguageValue)
{
    EXPECT_FALSE(languageMatches(null, 0));
    EXPECT_FALSE(languageMatches(text(""), 0));
    EXPECT_FALSE(languageMatches(text("   "), 0));
    EXPECT_TRUE(languageMatches(num(0), 0));
    EXPECT_FALSE(languageMatches(num(1.5), 1));
    EXPECT_TRUE(languageMatches(num(1.0), 1));
    EXPECT_TRUE(languageMatches(text("1"), 1));
    EXPECT_TRUE(languageMatches(text(" 1 "), 1));
    EXPECT_TRUE(languageMatches(text("01"), 1));
    EXPECT_TRUE(languageMatches(text("1.0"), 1));
    EXPECT_TRUE(languageMatches(text("1e1"), 10));
    EXPECT_FALSE(languageMatches(text("1a"), 1));
    EXPECT_FALSE(languageMatches(text("one"), 1));
    EXPECT_FALSE(languageMatches(text("1,0"), 1));
    EXPECT_FALSE(languageMatches(text("inf"), 1));
    EXPECT_FALSE(languageMatches(text("١"), 1)); // an Arabic-Indic one
    EXPECT_FALSE(languageMatches(JetValue { JetValue::Kind::Other, 1, QStringLiteral("1") }, 1));

    EXPECT_EQ(resolve(2, { { text("2"), text("Text column") } }), "Text column");
    EXPECT_EQ(resolve(0, { { null, text("Null") }, { text(""), text("Empty") } }), "English");
    // A number in the name column becomes its text.
    EXPECT_EQ(resolve(4, { { num(4), num(44) } }), "44");
}

// Real files, both versions: the example and the edge rows. (Extra columns,
// foreign text and many pages are the reader's own tests.)
TEST(ResolveLanguage, fromRealFiles)
{
    for (Version version : { Version::Jet3, Version::Jet4 }) {
        TempFolder folder;
        writeLanguages(folder,
            languageTableWriter(
                { { 1, QStringLiteral("Deutsch") }, { 2, QStringLiteral("English") },
                    { 3, QStringLiteral("Deutsch") }, { 3, QStringLiteral("German") },
                    { 4, QStringLiteral("") }, { 5, QVariant() },
                    { QVariant(), QStringLiteral("Null") }, { 6, QStringLiteral("Français") } },
                version));
        EXPECT_EQ(resolveFromFile(folder, 1), "Deutsch");
        EXPECT_EQ(resolveFromFile(folder, 7), "English");
        EXPECT_EQ(resolveFromFile(folder, 3), "German");
        EXPECT_EQ(resolveFromFile(folder, 4), "English");
        EXPECT_EQ(resolveFromFile(folder, 5), "English");
        EXPECT_EQ(resolveFromFile(folder, 0), "English");
        EXPECT_EQ(resolveFromFile(folder, 6), "Français");

        // Yes/No (Yes is -1) and Decimal (Jet 4 only) compare as numbers too.
        for (const auto type : { JetWriter::ColumnType::YesNo, JetWriter::ColumnType::Decimal }) {
            const bool yesNo = type == JetWriter::ColumnType::YesNo;
            if (!yesNo && version == Version::Jet3)
                continue;
            JetWriter writer(version);
            writer.setTableName(QStringLiteral("LookupLanguages"));
            writer.addColumn(QStringLiteral("Language"), type);
            writer.addColumn(QStringLiteral("Name"), JetWriter::ColumnType::Text);
            writer.addRow({ yesNo ? QVariant(true) : QVariant(-2), QStringLiteral("Minus") });
            writer.addRow({ yesNo ? QVariant(false) : QVariant(3), QStringLiteral("Other") });
            writeLanguages(folder, writer);
            EXPECT_EQ(resolveFromFile(folder, yesNo ? -1 : -2), "Minus") << yesNo;
            EXPECT_EQ(resolveFromFile(folder, yesNo ? 0 : 3), "Other") << yesNo;
            EXPECT_EQ(resolveFromFile(folder, 1), "English") << yesNo;
        }
    }
}

// Files that cannot serve: English, silently.
TEST(ResolveLanguage, unreadableFilesGiveEnglish)
{
    TempFolder folder;
    EXPECT_EQ(resolveFromFile(folder, 1), "English"); // no file

    const QString path
        = writeLanguages(folder, languageTableWriter({ { 1, QStringLiteral("Deutsch") } }));
    ASSERT_EQ(resolveFromFile(folder, 1), "Deutsch");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    folder.write("Visu/Program/Tools/Languages.mdb", bytes.left(bytes.size() / 2 + 123));
    EXPECT_EQ(resolveFromFile(folder, 1), "English");

    // Damage that libmdb reads through without a word, each of which would
    // yield a name the file does not hold: a data page counting more rows
    // than it has, the Name column's type made a number, a NUL inside the
    // name.
    const qsizetype dataPage = 5 * 4096;
    const qsizetype nameType = 4 * 4096 + 63 + 25; // the second column descriptor
    ASSERT_EQ(bytes.at(dataPage + 12), 1); // the row count
    ASSERT_EQ(bytes.at(nameType), 0x0a); // Text
    const qsizetype letterU = bytes.indexOf(QByteArray("D\0e\0u\0", 6), dataPage) + 4;
    ASSERT_GT(letterU, dataPage);
    for (const qsizetype at : { dataPage + 12, nameType, letterU }) {
        QByteArray damaged = bytes;
        damaged[at] = at == letterU ? 0 : 4;
        folder.write("Visu/Program/Tools/Languages.mdb", damaged);
        EXPECT_EQ(resolveFromFile(folder, 1), "English") << at;
    }
}

// Start-up as far as the language: a real description names the
// installation folder and the language; a real Languages.mdb lies there.
TEST(ResolveLanguage, afterReadingTheDescription)
{
    TempFolder folder;
    const QString visu = QString(folder.path()).replace('/', '\\') + "\\Visu\\";
    writeLanguages(folder,
        languageTableWriter({ { 1, QStringLiteral("Deutsch") }, { 2, QStringLiteral("English") },
                                { 3, QStringLiteral("Français") } },
            Version::Jet4));
    folder.write("Kestrel/Tavlin.txt",
        toWindows1252("[Global]\r\nDispHInt=1280\r\nVisuPfad=" + visu + "\r\nLanguage=3\r\n"));

    FakePlatform platform;
    ScreenContext context;
    context.TempPfad = QString(folder.path()).replace('/', '\\') + "\\Kestrel";
    TavlinModule module;
    ReadDescription(context, module);
    ASSERT_EQ(context.VisuPfad, visu);
    ASSERT_EQ(context.LanguageNumber, 3);
    EXPECT_TRUE(context.LanguageName.isEmpty());
    JetLanguageTable table;
    ResolveLanguage(context, table);
    EXPECT_EQ(context.LanguageName, "Français");
    EXPECT_TRUE(platform.messageBox.messages.isEmpty());
    EXPECT_TRUE(platform.messageBox.errors.isEmpty());
}
