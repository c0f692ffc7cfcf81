#include "overlay/SymbolClick.h"
#include "helpwindow/HelpForm.h"
#include "helpwindow/HelpWindow.h"
#include "helpwindow/PictureButton.h"
#include "model/ScreenContext.h"
#include "os/RunGuarded.h"
#include "support/FakeBrowser.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

class SymbolClickTest : public ::testing::Test
{
protected:
    SymbolClickTest()
    {
        context.VisuPfad = folder.path() + QStringLiteral("/Panel\\");
        context.LanguageName = QStringLiteral("English");
        context.DispHInt = 800;
        context.DispVInt = 600;
        context.HelpEntries[3].Tag = QStringLiteral("Conveyor");
        folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/Conveyor.html"), "<p>x</p>");
    }

    // Clicks symbol `index`; returns the help window's geometry while it is up (modal), then
    // clicks Ende with the right button, which must not close it, and the left; null if none.
    QRect click(qint16 index)
    {
        runGuarded(fake.services(), [&] { symbolClick.Symbol_Click(index); });
        QPointer<HelpWindow> window = help.window();
        if (!window || !window->isVisible())
            return QRect();
        EXPECT_TRUE(window->isModal());
        const QRect seen = window->geometry();
        QTest::mouseClick(window->Ende, Qt::RightButton);
        EXPECT_TRUE(window && window->isVisible()) << "closed by the right button";
        if (window)
            QTest::mouseClick(window->Ende, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return seen;
    }

    FakeServices fake;
    FakeBrowser browser;
    TempFolder folder;
    ScreenContext context;
    Help help { fake.services(), browser.factory() };
    SymbolClick symbolClick { context, help, fake.services() };
};

TEST_F(SymbolClickTest, PageOpensCentredOnTheScreenOfTheMomentAndReturnsWhenClosed)
{
    // 800 / 1.3 -> 615, 600 / 1.3 = 461.5 -> 462; left 1387.5 twips = 92.5 -> 92; top 69.
    EXPECT_EQ(click(3), QRect(92, 69, 615, 462));
    ASSERT_EQ(browser.log.navigations.size(), 1u);
    EXPECT_EQ(browser.log.navigations[0].page,
        QUrl(QStringLiteral("tavlin://help/English/Conveyor.html")));
    EXPECT_EQ(QDir(browser.log.navigations[0].allowedFolder).canonicalPath(),
        QDir(folder.path() + QStringLiteral("/Panel/Program/Help/Tavlin")).canonicalPath());
    // Closed, the window is unloaded; opened again, it is fresh.
    EXPECT_FALSE(help.isLoaded());
    EXPECT_EQ(browser.log.destroyed, 1);

    // The screen's factor is read at the click, not the start-up copy.
    fake.screen.x = fake.screen.y = 12;
    context.DispHInt = 1280;
    context.DispVInt = 1024;
    // 1280 / 1.3 = 984.6 -> 985; 1024 / 1.3 = 787.7 -> 788; left 147.5 -> 148; top 118.
    EXPECT_EQ(click(3), QRect(148, 118, 985, 788));
    EXPECT_EQ(browser.log.created, 2);

    // 115 / 1.3 = 88.46; centred with the 88 it took, 13.5 -> 14 (not 13 with 88.46).
    fake.screen.x = fake.screen.y = 15;
    context.DispHInt = 115;
    context.DispVInt = 600;
    const QRect seen = click(3);
    EXPECT_EQ(seen.x(), 14);
    EXPECT_EQ(seen.width(), 88);
}

// Missing, hidden, empty, wildcard and outside pages (by name or by link: the
// help window would refuse them) are reported with the path as built.
TEST_F(SymbolClickTest, PagesThatCannotBeShownAreReportedMissing)
{
    folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/.Secret.html"), "x");
    folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/.html"), "x");
    folder.write(QStringLiteral("Panel/Extra/P0.html"), "x");
    folder.write(QStringLiteral("Elsewhere/Conveyor.html"), "x");
    QFile::link(folder.path() + QStringLiteral("/Elsewhere"),
        folder.path() + QStringLiteral("/Panel/Program/Help/Tavlin/Linked"));
    context.HelpEntries[4].Tag = QStringLiteral(".Secret");
    context.HelpEntries[5].Tag = QStringLiteral("Conv*");
    context.HelpEntries[6].Tag = QStringLiteral("..\\..\\..\\Extra\\P0");
    for (qint16 index : { 4, 0, 5, 6 })
        EXPECT_TRUE(click(index).isNull());
    context.LanguageName = QStringLiteral("Linked");
    click(3);
    context.VisuPfad = folder.path() + QStringLiteral("/Panel"); // no trailing backslash
    context.LanguageName = QStringLiteral("English");
    click(3);
    const QString base = folder.path() + QStringLiteral("/Panel\\Program\\Help\\Tavlin\\");
    const QString english = base + QStringLiteral("English\\");
    EXPECT_EQ(fake.messageBox.messages,
        (QStringList { "File '" + english + ".Secret.html' not found",
            "File '" + english + ".html' not found", "File '" + english + "Conv*.html' not found",
            "File '" + english + "..\\..\\..\\Extra\\P0.html' not found",
            "File '" + base + "Linked\\Conveyor.html' not found",
            "File '" + folder.path()
                + "/PanelProgram\\Help\\Tavlin\\English\\Conveyor.html' not found" }));
    EXPECT_EQ(fake.messageBox.titles.last(), QStringLiteral("Tavlin"));
    EXPECT_EQ(browser.log.created, 0);
    EXPECT_TRUE(fake.messageBox.errors.isEmpty());
    EXPECT_EQ(fake.terminator.calls, 0);
}

TEST_F(SymbolClickTest, RunTimeErrorsEndTheProgramWithTheStandardMessage)
{
    context.DispHInt = -1; // the width of a missing display width
    click(3);
    click(1001);
    click(-1);
    ASSERT_EQ(fake.messageBox.errors.size(), 3);
    EXPECT_EQ(fake.messageBox.errors[0],
        QStringLiteral("Run-time error '380':\n\nInvalid property value"));
    EXPECT_TRUE(fake.messageBox.errors[1].startsWith(QStringLiteral("Run-time error '9'")));
    EXPECT_TRUE(fake.messageBox.errors[2].startsWith(QStringLiteral("Run-time error '9'")));
    EXPECT_EQ(fake.terminator.calls, 3);
    EXPECT_TRUE(browser.log.navigations.empty());
}
