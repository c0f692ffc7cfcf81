#include "browser/HelpFiles.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

// A help folder with pages, and links and odd names that try to lead out.
class HelpFilesTest : public ::testing::Test
{
protected:
    HelpFilesTest()
    {
        folder.write(QStringLiteral("Help/English/Page.html"), "page");
        folder.write(QStringLiteral("Help/Deutsch/Seite.html"), "seite");
        folder.write(QStringLiteral("Help/English/.hidden.html"), "hidden");
        folder.write(QStringLiteral("Outside/secret.txt"), "secret");
        const QByteArray root = QFile::encodeName(folder.path());
        ::symlink((root + "/Outside").constData(), (root + "/Help/English/r\xff").constData());
        ::symlink(
            (root + "/Outside/secret.txt").constData(), (root + "/Help/English/s.txt").constData());
        ::symlink((root + "/Outside").constData(), (root + "/Help/Linked").constData());
        ::symlink((root + "/Help/English/Page.html").constData(),
            (root + "/Help/English/Inner.html").constData());
        QDir().mkpath(folder.path() + QStringLiteral("/Help/English/Folder.html"));
    }

    std::optional<QByteArray> read(const char *path) const
    {
        return HelpFiles::read(help, QByteArray(path).split('/'));
    }

    TempFolder folder;
    QString help = folder.path() + QStringLiteral("/Help");
};

// Names match as Dir matches them; nothing outside, hidden or not a file is
// read, and URLs name files below the folder only.
TEST_F(HelpFilesTest, ReadsAndNamesOnlyFilesInsideMatchingNamesAsDirDoes)
{
    EXPECT_EQ(read("English/Page.html"), QByteArray("page"));
    EXPECT_EQ(read("Deutsch/Seite.html"), QByteArray("seite"));
    EXPECT_EQ(read("english/PAGE.HTML"), QByteArray("page")); // case, on every level
    folder.write(QStringLiteral("Help/English/page.html"), "exact");
    EXPECT_EQ(read("English/page.html"), QByteArray("exact")); // the exact name first
    EXPECT_EQ(read("ENGLISH/PAGE.html"), QByteArray("page")); // then the first in byte order

    for (const char *path : { "English/r\xff/secret.txt", "English/R\xff/secret.txt",
             "English/s.txt", "Linked/secret.txt", "English/Inner.html",
             "English/../../Outside/secret.txt", "English/./Page.html", "English/.hidden.html",
             "English/Folder.html", "English", "English/Missing.html", "English/Page.html/x" })
        EXPECT_FALSE(read(path).has_value()) << path;
    EXPECT_FALSE(HelpFiles::read(help, {}).has_value());
    EXPECT_FALSE(HelpFiles::read(QString(), { "English", "Page.html" }).has_value());

    const QString base = folder.path() + QStringLiteral("/Help\\");
    const QUrl url = HelpFiles::urlOf(base, base + QStringLiteral("English\\Über Uns.html"));
    EXPECT_EQ(url.toString(QUrl::FullyEncoded),
        QStringLiteral("tavlin://help/English/%C3%9Cber%20Uns.html"));
    EXPECT_EQ(HelpFiles::namesOf(url),
        (QByteArrayList { "English", QStringLiteral("Über Uns.html").toUtf8() }));
    EXPECT_EQ(HelpFiles::namesOf(QUrl(QStringLiteral("tavlin://help/English/r%FF/x"))),
        (QByteArrayList { "English", "r\xff", "x" }));
    EXPECT_FALSE(HelpFiles::urlOf(base, QStringLiteral("C:\\Other\\x.html")).isValid());
    for (const char *other : { "file:///etc/passwd", "tavlin://other/English/Page.html",
             "tavlin://help:8080/English/Page.html", "tavlin://u@help/English/Page.html",
             "https://help/English/Page.html" })
        EXPECT_FALSE(HelpFiles::namesOf(QUrl(QString::fromLatin1(other))).has_value()) << other;
    EXPECT_EQ(HelpFiles::contentType("Page.HTML"), QByteArray("text/html"));
    EXPECT_EQ(HelpFiles::contentType("noextension"), QByteArray("application/octet-stream"));
}

// A local process swaps a file of the folder for a link to a file outside
// while it is read: the reader gets the file or nothing, never the outside.
TEST_F(HelpFilesTest, SwappingInALinkNeverServesTheOutside)
{
    const QByteArray english = QFile::encodeName(help) + "/English/";
    std::atomic<bool> stop { false };
    std::thread swapper([&] {
        const QByteArray file = english + "race.txt", copy = english + ".copy";
        while (!stop) {
            folder.write(QStringLiteral("Help/English/.copy"), "page"); // one name only
            ::rename(copy.constData(), file.constData());
            ::symlink((QFile::encodeName(folder.path()) + "/Outside/secret.txt").constData(),
                copy.constData());
            ::rename(copy.constData(), file.constData());
        }
    });
    int inside = 0, outside = 0;
    QElapsedTimer timer; // on one core the swapper may get its turn late
    timer.start();
    for (int i = 0; (i < 20000 || inside < 10) && timer.elapsed() < 10000; ++i) {
        const std::optional<QByteArray> content = read("English/race.txt");
        inside += content == QByteArray("page");
        outside += content == QByteArray("secret");
    }
    stop = true;
    swapper.join();
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}
