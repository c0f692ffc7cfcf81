#include "overlay/Startup.h"
#include "description/StartupInput.h"
#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "semantics/RuntimeError.h"
#include "support/ErrorOf.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <array>
#include <gtest/gtest.h>

namespace {

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *drive : { "c", "d" }) {
            QDir().mkpath(folder.path() + "/wine/dosdevices");
            QDir().mkpath(folder.path() + "/" + drive);
            QFile::link(
                folder.path() + "/" + drive, folder.path() + "/wine/dosdevices/" + drive + ":");
        }
        prefix.set(folder.path() + QStringLiteral("/wine"));
    }

    void writeDescription(const QString &dir)
    {
        folder.write(dir + QStringLiteral("/Tavlin.txt"),
            "[Global]\r\nDispHInt=800\r\nVisuPfad=C:\\V\\\r\nLanguage=1\r\n"
            "[0]\r\nName=Frame1\r\nLeft=100\r\nTop=200\r\n"
            "[1]\r\nName=Button1\r\nLeft=10\r\nTop=20\r\nWidth=40000\r\nContainerName=Frame1\r\n");
    }
    void run()
    {
        context = ScreenContext();
        ReadStartupInput(context, module, fake.services());
    }

    FakeServices fake;
    TempFolder folder;
    EnvironmentGuard prefix { "WINEPREFIX" };
    EnvironmentGuard tempvisu { "TEMPVISU" };
    ScreenContext context;
    TavlinModule module;
};

} // namespace

TEST_F(StartupTest, ReadsEverythingFromTheFolderNamedByTEMPVISU)
{
    tempvisu.set(QStringLiteral("D:\\Tmp"));
    folder.writeBmp(QStringLiteral("d/Tmp/Kestrel/TavlinScreen.bmp"), 80, 60);
    writeDescription(QStringLiteral("d/Tmp/Kestrel"));
    run();
    EXPECT_EQ(context.TempPfad, QStringLiteral("D:\\Tmp\\Kestrel"));
    EXPECT_EQ(context.ScreenPicture.image.size(), QSize(80, 60));
    EXPECT_EQ(context.TwipsPerPixelX, 15.0f);
    EXPECT_EQ(context.DispHInt, 800);
    EXPECT_EQ(context.FooterTop, 537);
    EXPECT_EQ(context.HelpEntries[1].Left, 110);
    EXPECT_EQ(context.HelpEntries[1].ContainerPath, QStringLiteral(".0.")); // absolute
    // What the reader says on the way is shown.
    EXPECT_EQ(fake.messageBox.messages, QStringList({ "6 Overflow Tavlin InputIniInteger" }));

    // Without TEMPVISU or with it empty: C:\Temp.
    tempvisu.unset();
    folder.writeBmp(QStringLiteral("c/Temp/Kestrel/TavlinScreen.bmp"), 8, 6);
    writeDescription(QStringLiteral("c/Temp/Kestrel"));
    run();
    EXPECT_EQ(context.TempPfad, QStringLiteral("C:\\Temp\\Kestrel"));
    tempvisu.set(QString());
    run();
    EXPECT_EQ(context.TempPfad, QStringLiteral("C:\\Temp\\Kestrel"));
    EXPECT_EQ(fake.terminator.calls, 0);
}

TEST_F(StartupTest, AMissingScreenshotOrDescriptionEndsSilently)
{
    tempvisu.set(QStringLiteral("D:\\Tmp"));
    writeDescription(QStringLiteral("d/Tmp/Kestrel"));
    EXPECT_THROW(run(), ProgramEnded);
    EXPECT_EQ(context.DispHInt, 0); // the description was never read

    tempvisu.set(QStringLiteral("C:\\Tmp"));
    folder.writeBmp(QStringLiteral("c/Tmp/Kestrel/TavlinScreen.bmp"), 8, 6);
    EXPECT_THROW(run(), ProgramEnded);
    EXPECT_EQ(context.ScreenPicture.image.size(), QSize(8, 6));
    EXPECT_EQ(fake.terminator.calls, 2);
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());

    // One that is no picture is a run-time error naming it.
    folder.write(QStringLiteral("c/Tmp/Kestrel/TavlinScreen.bmp"), "BM this is not a bitmap");
    EXPECT_EQ(errorOf([this] { run(); }), QStringLiteral("481 C:\\Tmp\\Kestrel\\TavlinScreen.bmp"));
}

TEST(LayoutValues, DependOnTheDisplayWidth)
{
    struct Layout
    {
        qint16 width;
        float twips;
        qint16 button, footer, overhang, height;
        double factor;
    };
    const Layout layouts[] = {
        { 800, 13.5f, 41, 537, 94, 600, 0.625 }, // 13.5 x 7 = 94.5: halves go to even
        { 1280, 13.5f, 66, 916, 148, 1024, 1.0 }, // 13.5 x 11 = 148.5
        { 1024, 15, 0, 0, 0, 0, 0.8 },
    };
    for (const Layout &l : layouts) {
        ScreenContext c;
        c.DispHInt = l.width;
        c.TwipsPerPixelX = l.twips;
        applyLayoutValues(c);
        EXPECT_EQ((std::array<int, 4> { c.ButtonSize, c.FooterTop, c.SymbolOverhang, c.DispVInt }),
            (std::array<int, 4> { l.button, l.footer, l.overhang, l.height }))
            << l.width << " " << l.twips;
        EXPECT_EQ(c.WidthFactor, l.factor) << l.width;
    }
}
