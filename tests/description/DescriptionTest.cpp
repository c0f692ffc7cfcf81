#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "semantics/AnsiText.h"
#include "semantics/RuntimeError.h"
#include "state/ScreenContext.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace {

class DescriptionTest : public ::testing::Test
{
protected:
    // Writes the description (lines joined with CR LF, Windows-1252) and reads it.
    void read(const QStringList &lines)
    {
        folder.write(QStringLiteral("Kestrel/Tavlin.txt"),
            toWindows1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        context.TempPfad = folder.path() + QStringLiteral("\\Kestrel");
        ReadDescription(context, module);
    }
    const HelpEntry &entry(int i) const { return context.HelpEntries.at(static_cast<size_t>(i)); }

    FakePlatform fake;
    TempFolder folder;
    TavlinModule module;
    ScreenContext context;
};

QStringList control(
    int n, const QString &name, int left, int top, const QString &container = QString())
{
    QStringList lines { QStringLiteral("[%1]").arg(n), QStringLiteral("Name=") + name,
        QStringLiteral("Left=%1").arg(left), QStringLiteral("Top=%1").arg(top) };
    if (!container.isEmpty())
        lines << QStringLiteral("ContainerName=") + container;
    return lines;
}

} // namespace

TEST_F(DescriptionTest, ReadsGlobalValuesAndEntriesInAnyKeyOrder)
{
    read({ "[Global]", "DispHInt=800", "VisuPfad=C:\\V\\", "Language=2", "[0]", "Width=300",
        "Tag=X=12;Y=C;T=Pump", "Height=200", "Name=Fußzeile", "Alignment=4", "Left=100", "Top=200",
        "Index=3", "ContainerIndex=7" });
    EXPECT_EQ(std::make_tuple(
                  context.DispHInt, context.VisuPfad, context.LanguageNumber, context.LastEntry),
        std::make_tuple(qint16(800), QStringLiteral("C:\\V\\"), qint16(2), qint16(0)));
    const HelpEntry &e = entry(0);
    EXPECT_EQ(e.Name, QString::fromUtf8("Fußzeile")); // decoded from Windows-1252
    EXPECT_EQ(QStringList({ e.Tag, e.TagX, e.TagY, e.ContainerName, e.ContainerPath }),
        QStringList({ "Pump", "12", "C", "", "." }));
    EXPECT_EQ((std::array<int, 7> {
                  e.Left, e.Top, e.Width, e.Height, e.Alignment, e.Index, e.ContainerIndex }),
        (std::array<int, 7> { 100, 200, 300, 200, 4, 3, 7 }));
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
}

// The list ends at the first section without a name; sections beyond the
// table are ignored.
TEST_F(DescriptionTest, TheListEndsAtTheFirstSectionWithoutAName)
{
    read({ "[0]", "Name=A", "[1]", "Name=B", "[3]", "Name=D" });
    EXPECT_EQ(context.LastEntry, 1);
    read({ "[0]", "Name=", "[1]", "Name=B" });
    EXPECT_EQ(context.LastEntry, -1);

    QStringList lines;
    for (int n = 0; n <= 1005; ++n)
        lines << QStringLiteral("[%1]").arg(n) << QStringLiteral("Name=C%1").arg(n);
    read(lines);
    EXPECT_EQ(context.LastEntry, 1000);
    EXPECT_EQ(entry(1000).Name, QStringLiteral("C1000"));
}

TEST_F(DescriptionTest, MissingFileEndsTheProgramSilently)
{
    context.TempPfad = folder.path() + QStringLiteral("\\Nowhere");
    EXPECT_THROW(ReadDescription(context, module), ProgramEnded);
    EXPECT_EQ(fake.terminator.calls, 1);
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());

    // A folder of the description's name counts as missing too.
    ASSERT_TRUE(QDir().mkpath(folder.path() + QStringLiteral("/Nowhere/Tavlin.txt")));
    EXPECT_THROW(ReadDescription(context, module), ProgramEnded);
    EXPECT_EQ(fake.terminator.calls, 2);
}

TEST(TagCutting, RemovesTheMarkers)
{
    const auto cut = [](const char *tag) {
        HelpEntry e;
        e.Tag = QString::fromUtf8(tag);
        cutTag(e);
        return QStringList { e.Tag, e.TagX, e.TagY };
    };
    EXPECT_EQ(cut("X=12;Y=C;T=Pump"), QStringList({ "Pump", "12", "C" }));
    EXPECT_EQ(cut("T=Pump;X=5;"), QStringList({ "Pump;", "5", "" }));
    EXPECT_EQ(cut("Pump"), QStringList({ "Pump", "", "" }));
    EXPECT_EQ(cut("x=1;Pump"), QStringList({ "x=1;Pump", "", "" }));
    EXPECT_EQ(cut("X=;Pump"), QStringList({ "Pump", "", "" }));
    EXPECT_EQ(cut("Y=C;Valve X=L;"), QStringList({ "Valve ", "L", "C" }));
    EXPECT_EQ(cut("PT=1T=x"), QStringList({ "P1T=x", "", "" })); // only the first "T=" goes
    EXPECT_EQ(cut("Motor;X=7"), QStringList({ "Motor;", "7", "" })); // no ";" after the marker
    // X is cut first, then Y from what is left, then "T=".
    EXPECT_EQ(cut("X=T=1;P"), QStringList({ "P", "T=1", "" }));
    EXPECT_EQ(cut("Y=X=1;;P"), QStringList({ "P", "1", "" }));
}

TEST_F(DescriptionTest, ContainersNestToAnyDepth)
{
    QStringList lines;
    lines << control(0, "Frame1", 100, 200) << control(1, "Button1", 10, 20, "Frame1")
          << control(2, "Label1", 5, 5, "Button1") << control(3, "Deep", 1, 2, "Label1");
    read(lines);
    ResolveContainers(context);
    const std::tuple<int, int, const char *> expected[] = { { 100, 200, "." }, { 110, 220, ".0." },
        { 115, 225, ".0.1." }, { 116, 227, ".0.1.2." } };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_tuple(int(entry(i).Left), int(entry(i).Top), entry(i).ContainerPath),
            std::make_tuple(std::get<0>(expected[i]), std::get<1>(expected[i]),
                QString::fromLatin1(std::get<2>(expected[i]))))
            << i;
}

TEST_F(DescriptionTest, ContainersThatAreNotFound)
{
    QStringList lines;
    lines << control(0, "Frame1", 100, 100) << control(1, "Frame1", 1000, 1000) // nearest wins
          << control(2, "InNearest", 1, 1, "Frame1") //
          << control(3, "CaseDiffers", 5, 5, "frame1") // case-sensitive
          << control(4, "Early", 7, 7, "Later") // container after it
          << control(5, "Later", 50, 50) << control(6, "InsideLost", 3, 3, "CaseDiffers");
    lines << "[1]"; // a second [1] is never read
    read(lines);
    ResolveContainers(context);
    EXPECT_EQ(entry(2).Left, 1001);
    EXPECT_EQ(entry(2).ContainerPath, QStringLiteral(".1."));
    EXPECT_EQ(entry(3).ContainerPath, QStringLiteral("FALSE"));
    EXPECT_EQ(entry(3).Left, 5);
    EXPECT_EQ(entry(4).ContainerPath, QStringLiteral("FALSE"));
    EXPECT_EQ(entry(4).Top, 7);
    EXPECT_EQ(entry(6).ContainerPath, QStringLiteral("FALSE3."));
    EXPECT_EQ(entry(6).Left, 8);
}

TEST_F(DescriptionTest, ContainerIndexMustMatch)
{
    read({ "[0]", "Name=Frame", "Index=2", "Left=10", "[1]", "Name=Frame", "Left=20", "[2]",
        "Name=A", "ContainerName=Frame", "ContainerIndex=2", "Left=1", "[3]", "Name=B",
        "ContainerName=Frame", "Left=1" });
    ResolveContainers(context);
    EXPECT_EQ(entry(2).ContainerPath, QStringLiteral(".0."));
    EXPECT_EQ(entry(2).Left, 11);
    EXPECT_EQ(entry(3).ContainerPath, QStringLiteral(".1.")); // both indexes missing: -1 = -1
    EXPECT_EQ(entry(3).Left, 21);
}

TEST_F(DescriptionTest, PositionSumsBeyondSixteenBitsOverflow)
{
    read(
        { "[0]", "Name=Frame", "Left=30000", "[1]", "Name=A", "ContainerName=Frame", "Left=3000" });
    try {
        ResolveContainers(context);
        FAIL() << "no overflow";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 6);
    }
}
