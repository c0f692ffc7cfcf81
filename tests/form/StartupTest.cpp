#include "form/Startup.h"
#include "state/ScreenContext.h"
#include "description/TavlinModule.h"
#include "os/RunGuarded.h"
#include "semantics/RuntimeError.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class RecordingSteps : public StartupSteps
{
public:
    explicit RecordingSteps(const ScreenContext &context)
        : m_context(context)
    { }
    void BuildOverlay() override
    {
        calls << QStringLiteral("BuildOverlay");
        // The entries must already be absolute when the overlay is built.
        pathSeenByOverlay = m_context.HelpEntries[1].ContainerPath;
    }
    void ResolveLanguage() override { calls << QStringLiteral("ResolveLanguage"); }

    QStringList calls;
    QString pathSeenByOverlay;

private:
    const ScreenContext &m_context;
};

// A Wine prefix whose drives C: and D: are folders of the test's own.
class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(folder.path() + QStringLiteral("/wine/dosdevices"));
        QDir().mkpath(folder.path() + QStringLiteral("/c"));
        QDir().mkpath(folder.path() + QStringLiteral("/d"));
        QFile::link(folder.path() + QStringLiteral("/c"),
            folder.path() + QStringLiteral("/wine/dosdevices/c:"));
        QFile::link(folder.path() + QStringLiteral("/d"),
            folder.path() + QStringLiteral("/wine/dosdevices/d:"));
        prefix.set(folder.path() + QStringLiteral("/wine"));
    }

    void writeDescription(const QString &dir, const QByteArray &text = defaultDescription())
    {
        folder.write(dir + QStringLiteral("/Tavlin.txt"), text);
    }
    static QByteArray defaultDescription()
    {
        return "[Global]\r\nDispHInt=800\r\nVisuPfad=C:\\V\\\r\nLanguage=1\r\n"
               "[0]\r\nName=Frame1\r\nLeft=100\r\nTop=200\r\n"
               "[1]\r\nName=Button1\r\nLeft=10\r\nTop=20\r\nContainerName=Frame1\r\n";
    }
    void run() { Form_Load(context, module, steps); }

    FakePlatform fake;
    TempFolder folder;
    EnvironmentGuard prefix { "WINEPREFIX" };
    EnvironmentGuard tempvisu { "TEMPVISU" };
    ScreenContext context;
    TavlinModule module;
    RecordingSteps steps { context };
};

} // namespace

TEST_F(StartupTest, RunsEveryStepInOrderFromTheFolderNamedByTEMPVISU)
{
    tempvisu.set(QStringLiteral("D:\\Tmp"));
    folder.writeBmp(QStringLiteral("d/Tmp/Kestrel/TavlinScreen.bmp"), 80, 60);
    writeDescription(QStringLiteral("d/Tmp/Kestrel"));
    run();
    EXPECT_EQ(context.TempPfad, QStringLiteral("D:\\Tmp\\Kestrel"));
    EXPECT_EQ(context.ScreenPicture.image.size(), QSize(80, 60));
    EXPECT_EQ(context.ScreenPicture.Width, 2117); // 80 px at 96 dpi in HIMETRIC
    EXPECT_EQ(context.TwipsPerPixelX, 15.0f);
    EXPECT_EQ(context.DispHInt, 800);
    EXPECT_EQ(context.ButtonSize, 41);
    EXPECT_EQ(context.FooterTop, 537);
    EXPECT_EQ(context.SymbolOverhang, 105);
    EXPECT_EQ(context.DispVInt, 600);
    EXPECT_EQ(context.WidthFactor, 0.625);
    EXPECT_EQ(context.HelpEntries[1].Left, 110);
    EXPECT_EQ(steps.pathSeenByOverlay, QStringLiteral(".0."));
    EXPECT_EQ(steps.calls, QStringList({ "BuildOverlay", "ResolveLanguage" }));
    EXPECT_EQ(fake.terminator.calls, 0);
}

TEST_F(StartupTest, WithoutTEMPVISUTheRootIsCTemp)
{
    tempvisu.unset();
    folder.writeBmp(QStringLiteral("c/Temp/Kestrel/TavlinScreen.bmp"), 8, 6);
    writeDescription(QStringLiteral("c/Temp/Kestrel"));
    run();
    EXPECT_EQ(context.TempPfad, QStringLiteral("C:\\Temp\\Kestrel"));
    EXPECT_EQ(steps.calls.size(), 2);

    ScreenContext second;
    TavlinModule module2;
    RecordingSteps steps2(second);
    tempvisu.set(QString()); // set but empty: the same root
    Form_Load(second, module2, steps2);
    EXPECT_EQ(second.TempPfad, QStringLiteral("C:\\Temp\\Kestrel"));
}

TEST_F(StartupTest, ATrailingBackslashIsKeptAndNamesInAnyCaseAreFound)
{
    tempvisu.set(QStringLiteral("d:\\TMP\\"));
    folder.writeBmp(QStringLiteral("d/Tmp/KESTREL/tavlinscreen.BMP"), 8, 6);
    writeDescription(QStringLiteral("d/Tmp/KESTREL"));
    run();
    EXPECT_EQ(context.TempPfad, QStringLiteral("d:\\TMP\\\\Kestrel"));
    EXPECT_EQ(steps.calls.size(), 2);
}

TEST_F(StartupTest, AMissingScreenshotOrAFolderOfItsNameEndsAtOnce)
{
    tempvisu.set(QStringLiteral("D:\\Tmp"));
    writeDescription(QStringLiteral("d/Tmp/Kestrel"));
    EXPECT_THROW(run(), ProgramEnded);
    // Present under its own name, but no ordinary file.
    ASSERT_TRUE(QDir().mkpath(folder.path() + QStringLiteral("/d/Tmp/Kestrel/TavlinScreen.bmp")));
    EXPECT_THROW(run(), ProgramEnded);
    EXPECT_EQ(fake.terminator.calls, 2);
    EXPECT_TRUE(steps.calls.isEmpty());
    EXPECT_EQ(context.TwipsPerPixelX, 0.0f); // stopped before the screen values
    EXPECT_EQ(context.DispHInt, 0); // the description was never read
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}

TEST_F(StartupTest, AMissingDescriptionEndsAfterTheScreenshot)
{
    tempvisu.set(QStringLiteral("D:\\Tmp"));
    folder.writeBmp(QStringLiteral("d/Tmp/Kestrel/TavlinScreen.bmp"), 8, 6);
    EXPECT_THROW(run(), ProgramEnded);
    EXPECT_EQ(context.ScreenPicture.image.size(), QSize(8, 6));
    EXPECT_TRUE(steps.calls.isEmpty());
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
}

TEST_F(StartupTest, AnUndecodableScreenshotEndsWithAMessageNamingIt)
{
    tempvisu.set(QStringLiteral("D:\\Tmp"));
    folder.write(QStringLiteral("d/Tmp/Kestrel/TavlinScreen.bmp"), "BM this is not a bitmap");
    writeDescription(QStringLiteral("d/Tmp/Kestrel"));
    EXPECT_FALSE(runGuarded([this] { run(); }));
    ASSERT_EQ(fake.messageBox.errors.size(), 1);
    EXPECT_EQ(fake.messageBox.errors.at(0),
        QStringLiteral(
            "Run-time error '481':\n\nInvalid picture: 'D:\\Tmp\\Kestrel\\TavlinScreen.bmp'"));
    EXPECT_EQ(fake.messageBox.titles.last(), QStringLiteral("Tavlin"));
    EXPECT_EQ(fake.terminator.calls, 1);
    EXPECT_TRUE(steps.calls.isEmpty());
}

TEST(LayoutValues, DependOnTheDisplayWidth)
{
    ScreenContext odd;
    odd.DispHInt = 1024;
    odd.TwipsPerPixelX = 15.0f;
    applyLayoutValues(odd);
    EXPECT_EQ(odd.ButtonSize, 0);
    EXPECT_EQ(odd.FooterTop, 0);
    EXPECT_EQ(odd.SymbolOverhang, 0);
    EXPECT_EQ(odd.DispVInt, 0);
    EXPECT_EQ(odd.WidthFactor, 0.8);

    ScreenContext missing;
    missing.DispHInt = -1;
    applyLayoutValues(missing);
    EXPECT_EQ(missing.WidthFactor, -1.0 / 1280.0);

    ScreenContext halves;
    halves.DispHInt = 800;
    halves.TwipsPerPixelX = 13.5f; // 13.5 x 7 = 94.5, halves go to even
    applyLayoutValues(halves);
    EXPECT_EQ(halves.SymbolOverhang, 94);
    halves.DispHInt = 1280;
    applyLayoutValues(halves);
    EXPECT_EQ(halves.SymbolOverhang, 148); // 13.5 x 11 = 148.5
    EXPECT_EQ(halves.ButtonSize, 66);
    EXPECT_EQ(halves.FooterTop, 916);
    EXPECT_EQ(halves.DispVInt, 1024);
    EXPECT_EQ(halves.WidthFactor, 1.0);
}
