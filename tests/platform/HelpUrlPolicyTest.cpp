#include "platform/HelpUrlPolicy.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(HelpUrlPolicyTest, OnlyFilesInsideTheHelpFolderPass)
{
    TempFolder folder;
    const QString help = folder.path() + QStringLiteral("/Visu/Program/Help/Tavlin");
    folder.write(QStringLiteral("Visu/Program/Help/Tavlin/English/A.html"), "a");
    folder.write(QStringLiteral("Visu/Program/Help/TavlinOther/C.html"), "c");
    folder.write(QStringLiteral("Visu/secret.txt"), "s");
    const HelpUrlPolicy policy(help);
    auto file
        = [&](const QString &relative) { return QUrl::fromLocalFile(folder.path() + relative); };

    EXPECT_TRUE(policy.allows(file(QStringLiteral("/Visu/Program/Help/Tavlin/English/A.html"))));
    QUrl anchored = file(QStringLiteral("/Visu/Program/Help/Tavlin/English/A.html"));
    anchored.setFragment(QStringLiteral("part2"));
    EXPECT_TRUE(policy.allows(anchored));
    // A page that does not exist yet inside the folder is still inside.
    EXPECT_TRUE(policy.allows(file(QStringLiteral("/Visu/Program/Help/Tavlin/English/New.html"))));

    EXPECT_FALSE(policy.allows(file(QStringLiteral("/Visu/secret.txt"))));
    EXPECT_FALSE(policy.allows(file(QStringLiteral("/Visu/Program/Help/TavlinOther/C.html"))));
    EXPECT_FALSE(policy.allows(file(QStringLiteral("/Visu/Program/Help/Tavlin"))));
    EXPECT_FALSE(policy.allows(QUrl(
        QStringLiteral("file://") + help + QStringLiteral("/English/../../../../secret.txt"))));
    EXPECT_FALSE(policy.allows(QUrl(QStringLiteral("https://example.com/"))));
    EXPECT_FALSE(policy.allows(QUrl(QStringLiteral("data:text/html,<b>x</b>"))));
    EXPECT_FALSE(policy.allows(QUrl(QStringLiteral("javascript:alert(1)"))));
    EXPECT_FALSE(policy.allows(
        QUrl(QStringLiteral("view-source:file://") + help + QStringLiteral("/English/A.html"))));
    EXPECT_FALSE(policy.allows(
        QUrl(QStringLiteral("file://server") + help + QStringLiteral("/English/A.html"))));
    EXPECT_FALSE(policy.allows(QUrl()));
}

TEST(HelpUrlPolicyTest, SymbolicLinksCannotLeadOut)
{
    TempFolder folder;
    folder.write(QStringLiteral("Help/English/A.html"), "a");
    folder.write(QStringLiteral("Outside/secret.html"), "s");
    const QString help = folder.path() + QStringLiteral("/Help");
    ASSERT_TRUE(QFile::link(
        folder.path() + QStringLiteral("/Outside"), help + QStringLiteral("/English/Out")));
    const HelpUrlPolicy policy(help);
    EXPECT_FALSE(
        policy.allows(QUrl::fromLocalFile(help + QStringLiteral("/English/Out/secret.html"))));
    EXPECT_TRUE(policy.allows(QUrl::fromLocalFile(help + QStringLiteral("/English/A.html"))));

    // The folder itself reached through a link is fine.
    ASSERT_TRUE(QFile::link(help, folder.path() + QStringLiteral("/HelpLink")));
    const HelpUrlPolicy linked(folder.path() + QStringLiteral("/HelpLink"));
    EXPECT_TRUE(linked.allows(QUrl::fromLocalFile(help + QStringLiteral("/English/A.html"))));
    EXPECT_TRUE(linked.allows(
        QUrl::fromLocalFile(folder.path() + QStringLiteral("/HelpLink/English/A.html"))));
}

TEST(HelpUrlPolicyTest, MissingOrRootFolderLetsNothingThrough)
{
    TempFolder folder;
    folder.write(QStringLiteral("x.html"), "x");
    EXPECT_FALSE(
        HelpUrlPolicy().allows(QUrl::fromLocalFile(folder.path() + QStringLiteral("/x.html"))));
    EXPECT_FALSE(HelpUrlPolicy(folder.path() + QStringLiteral("/nope"))
                     .allows(QUrl::fromLocalFile(folder.path() + QStringLiteral("/nope/x.html"))));
    EXPECT_FALSE(HelpUrlPolicy(QStringLiteral("/"))
                     .allows(QUrl::fromLocalFile(folder.path() + QStringLiteral("/x.html"))));
}

TEST(HelpUrlPolicyTest, PagePathBecomesAFileUrl)
{
    TempFolder folder;
    folder.write(QStringLiteral("Panel/Program/Help/Tavlin/English/Conveyor.html"), "x");
    const QUrl url = helpPageUrl(
        folder.path() + QStringLiteral("/panel\\PROGRAM\\Help\\Tavlin\\English\\Conveyor.html"));
    EXPECT_EQ(url,
        QUrl::fromLocalFile(
            folder.path() + QStringLiteral("/Panel/Program/Help/Tavlin/English/Conveyor.html")));
}
