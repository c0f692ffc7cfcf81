#include "description/TavlinModule.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class TavlinModuleTest : public ::testing::Test
{
protected:
    // Opens and closes a file with the given lines (CR LF), as the description is read.
    void load(const QByteArray &content)
    {
        const QString file = folder.write(QStringLiteral("t.ini"), content);
        ASSERT_TRUE(module.OpenIni(file, false));
        module.CloseIni();
    }
    qint16 integer(const char *s, const char *k) { return module.InputIniInteger(s, k, false); }
    QStringList notices()
    {
        QStringList texts;
        for (const TavlinModule::Notice &n : module.takeNotices())
            texts << n.text + " @" + n.section + "." + n.entry;
        return texts;
    }
    QString string(const char *s, const char *k) { return module.InputIniString(s, k, false); }

    FakeServices fake;
    TempFolder folder;
    TavlinModule module;
};

} // namespace

TEST_F(TavlinModuleTest, LooksUpKeysIgnoringCaseButNotBlanksFirstOneWins)
{
    load("[global]\r\ndispHint=800\r\n DispVInt=600\r\nLanguage =2\r\nVisuPfad=C:\\V\\\r\n");
    EXPECT_EQ(integer("Global", "DispHInt"), 800);
    EXPECT_EQ(integer("GLOBAL", "DispVInt"), -1); // blank before the key
    EXPECT_EQ(integer("Global", "Language"), -1); // blank before the "="
    EXPECT_EQ(string("Global", "VisuPfad"), QStringLiteral("C:\\V\\"));
    EXPECT_EQ(string("Glob", "DispHInt"), QString());
    EXPECT_EQ(notices(), QStringList());

    // Values are taken unchanged, and the first occurrence wins.
    load("[5]\r\nTag=Page1  \r\nName=a\r\nName=b\r\n[6]\r\nLate=1\r\n[5]\r\nOnlyInSecond=1\r\n");
    EXPECT_EQ(string("5", "Tag"), QStringLiteral("Page1  "));
    EXPECT_EQ(string("5", "Name"), QStringLiteral("a"));
    EXPECT_EQ(string("5", "Late"), QString()); // belongs to section [6]
    EXPECT_EQ(string("5", "OnlyInSecond"), QString()); // a second [5] is never searched
    EXPECT_EQ(string("6", "Late"), QStringLiteral("1"));
}

// Through Val (whose cases are its own tests); an overflow is a notice naming the routine and
// gives 0; nothing is shown.
TEST_F(TavlinModuleTest, ReadsIntegersTheClassicWay)
{
    load("[G]\r\nA=&H500 px\r\nG=\r\nBig=70000\r\n");
    for (const auto &[key, value] : std::initializer_list<std::pair<const char *, int>> {
             { "A", 1280 }, { "G", -1 }, { "Missing", -1 }, { "Big", 0 } })
        EXPECT_EQ(integer("G", key), value) << key;
    EXPECT_EQ(notices(), QStringList({ "6 Overflow Tavlin InputIniInteger @G.Big" }));
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
}

TEST_F(TavlinModuleTest, NotFoundMessagesOnlyWhenAskedOneFileAtATime)
{
    load("[A]\r\nX=1\r\n");
    EXPECT_EQ(module.FindeIniEintrag(QStringLiteral("a"), QStringLiteral("Y"), true), QString());
    EXPECT_EQ(notices(),
        QStringList {
            "Section [a] or Entry 'Y' in file '" + folder.path() + "/t.ini' not found @a.Y" });

    TavlinModule other;
    EXPECT_FALSE(other.OpenIni(QStringLiteral("C:\\x\\y.txt"), true));
    other.CloseIni();
    EXPECT_FALSE(other.OpenIni(QStringLiteral("C:\\x\\y.txt"), false));
    QStringList texts;
    for (const TavlinModule::Notice &n : other.takeNotices())
        texts << n.text;
    EXPECT_EQ(texts, QStringList { "File 'C:\\x\\y.txt' not found" });

    // A second file is refused until the first is closed.
    const QString first = folder.write(QStringLiteral("a.ini"), "[A]\r\nX=1\r\n");
    const QString second = folder.write(QStringLiteral("b.ini"), "[A]\r\nX=2\r\n");
    ASSERT_TRUE(module.OpenIni(first, false));
    EXPECT_FALSE(module.OpenIni(second, false));
    EXPECT_EQ(string("A", "X"), QString());
    module.CloseIni();
    ASSERT_TRUE(module.OpenIni(second, false));
    module.CloseIni();
    EXPECT_EQ(string("A", "X"), QStringLiteral("2")); // still there after CloseIni
}

// CR and CR LF end a line, a lone LF does not; the last needs no end; no line limit.
TEST_F(TavlinModuleTest, LinesAsSequentialInputReadsThem)
{
    load("[A]\rX=1\nY=2\r\nZ=3");
    EXPECT_EQ(module.IniLineCount(), 3);
    EXPECT_EQ(string("A", "X"), QStringLiteral("1\nY=2"));
    EXPECT_EQ(string("A", "Z"), QStringLiteral("3"));

    QByteArray big = "[Big]\r\n";
    for (int i = 0; i < 6000; ++i)
        big += "K" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    load(big);
    EXPECT_EQ(module.IniLineCount(), 6001);
    EXPECT_EQ(integer("Big", "K5999"), 5999);
}
