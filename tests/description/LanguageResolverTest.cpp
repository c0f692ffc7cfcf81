#include "description/LanguageResolver.h"
#include "jet/LanguageTable.h"
#include "model/ScreenContext.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Status = LanguageTableResult::Status;

// Hands out prepared rows and remembers the paths asked for.
class FakeLanguageTable : public LanguageTable
{
public:
    LanguageTableResult read(const QString &path) override
    {
        paths << path;
        return result;
    }
    LanguageTableResult result;
    QStringList paths;
};

const auto num = [](double n) { return JetValue::fromNumber(n); };
const auto text = [](const char *t) { return JetValue::fromText(QString::fromUtf8(t)); };
const JetValue null = JetValue::null();

QString resolve(qint16 languageNumber, const QVector<LanguageRow> &rows, Status status = Status::Ok)
{
    FakeLanguageTable table;
    table.result.status = status;
    table.result.rows = rows;
    ScreenContext context;
    context.VisuPfad = QStringLiteral("D:\\Visu\\");
    context.LanguageNumber = languageNumber;
    ResolveLanguage(context, table);
    EXPECT_EQ(table.paths, QStringList { "D:\\Visu\\Program\\Tools\\Languages.mdb" });
    return context.LanguageName;
}

} // namespace

// The last matching row wins; no match, a null name or an unreadable table: English.
TEST(ResolveLanguage, lastMatchingRowWinsElseEnglish)
{
    const QVector<LanguageRow> example { { num(1), text("Deutsch") }, { num(2), text("English") } };
    EXPECT_EQ(resolve(1, example), "Deutsch");
    EXPECT_EQ(resolve(7, example), "English");
    EXPECT_EQ(
        resolve(
            1, { { num(1), text("Deutsch") }, { num(1), text("German") }, { num(2), text("x") } }),
        "German");
    EXPECT_EQ(resolve(1, { { num(1), text("Deutsch") }, { num(1), null } }), "English");
    EXPECT_EQ(resolve(4, { { num(4), num(44) } }), "44"); // a number in the name column
    EXPECT_EQ(resolve(1, example, Status::Damaged), "English");
}

// A text matches when it holds the number as a whole; null or empty never matches.
TEST(ResolveLanguage, numericEqualityOfTheLanguageValue)
{
    for (const char *yes : { "1", " 1 ", "01", "1.0" })
        EXPECT_TRUE(languageMatches(text(yes), 1)) << yes;
    for (const char *no : { "", "   ", "1a", "one", "1,0", "inf", "١" })
        EXPECT_FALSE(languageMatches(text(no), 1)) << no;
    EXPECT_TRUE(languageMatches(text("1e1"), 10));
    EXPECT_FALSE(languageMatches(null, 0));
    EXPECT_FALSE(languageMatches(num(1.5), 1));
    EXPECT_FALSE(languageMatches(JetValue { JetValue::Kind::Other, 1, QStringLiteral("1") }, 1));
}
