#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "semantics/AnsiText.h"
#include "support/ErrorOf.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
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

    FakeServices fake;
    TempFolder folder;
    TavlinModule module;
    ScreenContext context;
};

// Entry n with its name, position, container ("" for none) and further keys.
QStringList control(int n, const QString &name, int left, int top,
    const QString &container = QString(), const QStringList &more = {})
{
    QStringList lines { QStringLiteral("[%1]").arg(n), QStringLiteral("Name=") + name,
        QStringLiteral("Left=%1").arg(left), QStringLiteral("Top=%1").arg(top) };
    if (!container.isEmpty())
        lines << QStringLiteral("ContainerName=") + container;
    return lines + more;
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
    EXPECT_TRUE(module.takeNotices().isEmpty());
}

// The list ends at the first section without a name, or at the table's end.
TEST_F(DescriptionTest, TheListEndsAtTheFirstSectionWithoutAName)
{
    read({ "[0]", "Name=A", "[1]", "Name=B", "[3]", "Name=D" });
    EXPECT_EQ(context.LastEntry, 1);

    QStringList lines;
    for (int n = 0; n <= 1005; ++n)
        lines << QStringLiteral("[%1]").arg(n) << QStringLiteral("Name=C%1").arg(n);
    read(lines);
    EXPECT_EQ(context.LastEntry, 1000);
    EXPECT_EQ(entry(1000).Name, QStringLiteral("C1000"));

    // A folder under the description's name ends the program silently, as a missing file does.
    const QString description = folder.path() + QStringLiteral("/Kestrel/Tavlin.txt");
    ASSERT_TRUE(QFile::remove(description) && QDir().mkpath(description));
    EXPECT_FALSE(ReadDescription(context, module));
    EXPECT_TRUE(module.takeNotices().isEmpty());
}

TEST(TagCutting, RemovesTheMarkers)
{
    const auto cut = [](const char *tag) {
        HelpEntry e;
        e.Tag = QString::fromUtf8(tag);
        cutTag(e);
        return QStringList { e.Tag, e.TagX, e.TagY };
    };
    EXPECT_EQ(cut("T=Pump;X=5;"), QStringList({ "Pump;", "5", "" }));
    EXPECT_EQ(cut("Y=C;Valve X=L;"), QStringList({ "Valve ", "L", "C" }));
    EXPECT_EQ(cut("PT=1T=x"), QStringList({ "P1T=x", "", "" })); // only the first "T=" goes
    EXPECT_EQ(cut("Motor;X=7"), QStringList({ "Motor;", "7", "" })); // no ";" after the marker
    // X is cut first, then Y from what is left, then "T=".
    EXPECT_EQ(cut("X=T=1;P"), QStringList({ "P", "T=1", "" }));
    EXPECT_EQ(cut("Y=X=1;;P"), QStringList({ "P", "1", "" }));
}

// Any depth; the nearest earlier match of name (case-sensitive) and index; lost ones stay put.
TEST_F(DescriptionTest, ContainersResolve)
{
    read(control(0, "Frame1", 100, 200) + control(1, "Button1", 10, 20, "Frame1")
        + control(2, "Label1", 5, 5, "Button1") + control(3, "Deep", 1, 2, "Label1")
        + control(4, "Frame1", 1000, 1000) + control(5, "InNearest", 1, 1, "Frame1")
        + control(6, "CaseDiffers", 5, 5, "frame1") + control(7, "Early", 7, 7, "Later")
        + control(8, "Later", 50, 50) + control(9, "InsideLost", 3, 3, "CaseDiffers")
        + control(10, "Frame", 10, 0, {}, { "Index=2" }) + control(11, "Frame", 20, 0)
        + control(12, "A", 1, 0, "Frame", { "ContainerIndex=2" })
        + control(13, "B", 1, 0, "Frame")); // both indexes missing: -1 = -1
    ResolveContainers(context);
    QStringList placed;
    for (int i = 0; i <= context.LastEntry; ++i) {
        const HelpEntry &e = entry(i);
        placed << QStringLiteral("%1,%2 ").arg(e.Left).arg(e.Top) + e.ContainerPath;
    }
    EXPECT_EQ(placed,
        QStringList({ "100,200 .", "110,220 .0.", "115,225 .0.1.", "116,227 .0.1.2.", "1000,1000 .",
            "1001,1001 .4.", "5,5 FALSE", "7,7 FALSE", "50,50 .", "8,8 FALSE6.", "10,0 .", "20,0 .",
            "11,0 .10.", "21,0 .11." }));

    // Position sums beyond 16 bits overflow.
    read(control(0, "Frame", 30000, 0) + control(1, "A", 3000, 0, "Frame"));
    EXPECT_EQ(errorOf([&] { ResolveContainers(context); }), "6");
}
