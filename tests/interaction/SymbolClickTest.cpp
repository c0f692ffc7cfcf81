#include "interaction/SymbolClick.h"
#include "state/ScreenContext.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "support/FakeBrowser.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include "os/RunGuarded.h"
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace {

struct Opened
{
    bool visible = false;
    bool modal = false;
    QRect geometry;
    QString adresse;
};

class SymbolClickTest : public ::testing::Test
{
protected:
    SymbolClickTest()
    {
        context.VisuPfad = folder.path() + QStringLiteral("/Panel\\");
        context.LanguageName = QStringLiteral("English");
        context.DispHInt = 800;
        context.DispVInt = 600;
        context.TwipsPerPixelX = 15;
        context.TwipsPerPixelY = 15;
        context.HelpEntries[3].Tag = QStringLiteral("Conveyor");
        context.LastEntry = 3;
        folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/Conveyor.html"),
            "<html><body>Conveyor</body></html>");
    }

    // Clicks symbol `index`; while the help window is up, records it, runs
    // `whileOpen` and closes it with a real click on Ende.
    Opened click(qint16 index, const std::function<void(HelpWindow *)> &whileOpen = {})
    {
        Opened seen;
        // Owned by this scope: a timer that never fired (no window opened) dies here.
        QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            HelpWindow *window = help.window();
            if (!window)
                return;
            seen.visible = window->isVisible();
            seen.modal = window->isModal();
            seen.geometry = window->geometry();
            seen.adresse = help.Adresse;
            if (whileOpen)
                whileOpen(window);
            QTest::mouseClick(window->Ende, Qt::LeftButton);
        });
        runGuarded([&] { symbolClick.Symbol_Click(index); });
        return seen;
    }

    FakePlatform fake;
    FakeBrowserInstalled browser;
    TempFolder folder;
    ScreenContext context;
    Help help;
    SymbolClick symbolClick { context, help };
};

} // namespace

TEST_F(SymbolClickTest, PresentPageOpensCentredAndReturnsWhenClosed)
{
    const Opened seen = click(3);
    const QString expected
        = context.VisuPfad + QStringLiteral("Program\\Help\\Tavlin\\English\\Conveyor.html");
    EXPECT_TRUE(seen.visible);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.adresse, expected);
    // 800 / 1.3 = 615.4 -> 615 pixels, 600 / 1.3 = 461.5 -> 462 pixels;
    // left (12000 - 9225) / 2 = 1387.5 twips = 92.5 -> 92; top (9000 - 6930) / 2 = 69 pixels.
    EXPECT_EQ(seen.geometry, QRect(92, 69, 615, 462));
    ASSERT_EQ(browser.log.navigations.size(), 1u);
    EXPECT_EQ(browser.log.navigations[0].page,
        QUrl(QStringLiteral("tavlin://help/English/Conveyor.html")));
    EXPECT_EQ(QDir(browser.log.navigations[0].allowedFolder).canonicalPath(),
        QDir(folder.path() + QStringLiteral("/Panel/Program/Help/Tavlin")).canonicalPath());
    // Returned only after the window was unloaded.
    EXPECT_FALSE(help.isLoaded());
    EXPECT_EQ(browser.log.destroyed, 1);
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
}

TEST_F(SymbolClickTest, SizeUsesTheScreenNowAndCentresWithTheSizeTaken)
{
    // The screen's factor is read at the click, not the start-up copy.
    fake.screen.x = 12;
    fake.screen.y = 12;
    context.DispHInt = 1280;
    context.DispVInt = 1024;
    Opened seen = click(3);
    // 1280 / 1.3 = 984.6 -> 985; 1024 / 1.3 = 787.7 -> 788; left 147.5 -> 148; top 118.
    EXPECT_EQ(seen.geometry, QRect(148, 118, 985, 788));

    // 115 / 1.3 = 88.46 pixels, the window takes 88: centred with the 88 it
    // took, (115 - 88) / 2 = 13.5 -> 14; with the 88.46 asked for it would be 13.
    fake.screen.x = 15;
    fake.screen.y = 15;
    context.DispHInt = 115;
    context.DispVInt = 600;
    seen = click(3);
    EXPECT_EQ(seen.geometry.x(), 14);
    EXPECT_EQ(seen.geometry.width(), 88);
}

TEST_F(SymbolClickTest, ReopenedWindowIsFreshAndCentredAgain)
{
    const Opened first = click(3, [](HelpWindow *window) {
        QTest::mousePress(window->Verschieben, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(window->Verschieben, QPoint(210, 110));
        QTest::mouseRelease(window->Verschieben, Qt::LeftButton, {}, QPoint(210, 110));
        EXPECT_EQ(window->pos(), QPoint(292, 169));
    });
    const Opened second = click(3);
    EXPECT_EQ(second.geometry, first.geometry);
    EXPECT_TRUE(second.visible);
    EXPECT_EQ(browser.log.created, 2);
    EXPECT_EQ(browser.log.destroyed, 2);
    EXPECT_EQ(browser.log.navigations.size(), 2u);
}

TEST_F(SymbolClickTest, MissingPageIsReportedWithThePathAsBuilt)
{
    context.VisuPfad = folder.path() + QStringLiteral("/Panel"); // no trailing backslash
    const Opened seen = click(3);
    EXPECT_FALSE(seen.visible);
    ASSERT_EQ(fake.messageBox.messages.size(), 1);
    EXPECT_EQ(fake.messageBox.messages[0],
        QStringLiteral("File '") + folder.path()
            + QStringLiteral("/PanelProgram\\Help\\Tavlin\\English\\Conveyor.html' not found"));
    EXPECT_EQ(fake.messageBox.titles, QStringList { QStringLiteral("Tavlin") });
    EXPECT_FALSE(help.isLoaded());
    EXPECT_EQ(browser.log.created, 0);
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
    EXPECT_EQ(fake.terminator.calls, 0);
}

TEST_F(SymbolClickTest, HiddenEmptyWildcardAndOutsidePagesCountAsMissing)
{
    folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/.Secret.html"), "x");
    folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/.html"), "x");
    // Pages that exist but lie outside the help folder, by name or by link:
    // the help window would refuse them, so the operator hears they are missing.
    folder.write(QStringLiteral("Panel/Extra/P0.html"), "x");
    folder.write(QStringLiteral("Elsewhere/Conveyor.html"), "x");
    QDir().mkpath(folder.path() + QStringLiteral("/Panel/Program/Help/Tavlin"));
    QFile::link(folder.path() + QStringLiteral("/Elsewhere"),
        folder.path() + QStringLiteral("/Panel/Program/Help/Tavlin/Linked"));
    context.HelpEntries[4].Tag = QStringLiteral(".Secret");
    context.HelpEntries[0].Tag = QString();
    context.HelpEntries[5].Tag = QStringLiteral("Conv*");
    context.HelpEntries[6].Tag = QStringLiteral("..\\..\\..\\Extra\\P0");
    click(4);
    click(0);
    click(5);
    click(6);
    context.LanguageName = QStringLiteral("Linked");
    click(3);
    const QString base = context.VisuPfad + QStringLiteral("Program\\Help\\Tavlin\\");
    const QString english = base + QStringLiteral("English\\");
    EXPECT_EQ(fake.messageBox.messages,
        (QStringList {
            QStringLiteral("File '") + english + QStringLiteral(".Secret.html' not found"),
            QStringLiteral("File '") + english + QStringLiteral(".html' not found"),
            QStringLiteral("File '") + english + QStringLiteral("Conv*.html' not found"),
            QStringLiteral("File '") + english
                + QStringLiteral("..\\..\\..\\Extra\\P0.html' not found"),
            QStringLiteral("File '") + base
                + QStringLiteral("Linked\\Conveyor.html' not found") }));
    EXPECT_EQ(browser.log.created, 0);
}

TEST_F(SymbolClickTest, RunTimeErrorsEndTheProgramWithTheStandardMessage)
{
    context.DispHInt = -1; // the width of a missing display width
    click(3);
    ASSERT_EQ(fake.messageBox.errors.size(), 1);
    EXPECT_EQ(fake.messageBox.errors[0],
        QStringLiteral("Run-time error '380':\n\nInvalid property value"));
    EXPECT_EQ(fake.terminator.calls, 1);
    EXPECT_TRUE(browser.log.navigations.empty());

    click(1001);
    ASSERT_EQ(fake.messageBox.errors.size(), 2);
    EXPECT_TRUE(fake.messageBox.errors[1].startsWith(QStringLiteral("Run-time error '9'")));
    click(-1);
    EXPECT_EQ(fake.messageBox.errors.size(), 3);
    EXPECT_TRUE(fake.messageBox.messages.isEmpty());
}
