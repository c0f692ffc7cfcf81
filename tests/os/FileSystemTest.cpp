#include "os/FileSystem.h"
#include "os/PathMapper.h"
#include "os/Picture.h"
#include "os/PicturePrefetch.h"
#include "support/ErrorOf.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class FileSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(folder.path() + QStringLiteral("/wine/dosdevices"));
        QDir().mkpath(folder.path() + QStringLiteral("/drive_c"));
        QFile::link(folder.path() + QStringLiteral("/drive_c"),
            folder.path() + QStringLiteral("/wine/dosdevices/c:"));
        prefix.set(folder.path() + QStringLiteral("/wine"));
    }

    TempFolder folder;
    EnvironmentGuard prefix { "WINEPREFIX" };
};

} // namespace

TEST_F(FileSystemTest, MapsDrivesThroughWineLinksAndMatchesCaseInsensitively)
{
    folder.write(QStringLiteral("drive_c/Kalvo/Program/Help/Page.html"), "x");
    const QString root = QDir(folder.path() + QStringLiteral("/drive_c")).canonicalPath();
    EXPECT_EQ(mapWindowsPath(QStringLiteral("C:\\Kalvo\\Program\\Help\\Page.html")),
        root + QStringLiteral("/Kalvo/Program/Help/Page.html"));
    EXPECT_EQ(mapWindowsPath(QStringLiteral("C:\\Kalvo\\\\Program\\Missing\\x.html")),
        root + QStringLiteral("/Kalvo/Program/Missing/x.html"));
    folder.write(QStringLiteral("drive_c/TWIN/x"), "x"); // twins but for case: the exact one wins
    folder.write(QStringLiteral("drive_c/twin/x"), "x");
    EXPECT_EQ(mapWindowsPath(QStringLiteral("C:\\twin\\x")), root + QStringLiteral("/twin/x"));
    // No link for Q: the drive stands for the root.
    EXPECT_EQ(mapWindowsPath(QStringLiteral("Q:\\Temp\\Kestrel")), QStringLiteral("/Temp/Kestrel"));
    // POSIX paths pass through, also with the program's backslashes appended.
    EXPECT_EQ(mapWindowsPath(folder.path() + QStringLiteral("\\drive_c\\kalvo")),
        folder.path() + QStringLiteral("/drive_c/Kalvo"));
}

TEST_F(FileSystemTest, DirAcceptsOnlyOrdinaryVisibleFiles)
{
    folder.write(QStringLiteral("drive_c/Temp/Kestrel/TavlinScreen.bmp"), "x");
    folder.write(QStringLiteral("drive_c/Temp/Kestrel/.Hidden.bmp"), "x");
    folder.write(QStringLiteral("drive_c/Temp/Kestrel/a*b?.html"), "x");
    QDir().mkpath(folder.path() + QStringLiteral("/drive_c/Temp/Kestrel/Folder.html"));
    EXPECT_TRUE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\TavlinScreen.bmp")));
    EXPECT_TRUE(Dir(QStringLiteral("C:\\Temp\\\\Kestrel\\tavlinscreen.bmp")));
    EXPECT_FALSE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\.Hidden.bmp")));
    EXPECT_FALSE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\Folder.html")));
    EXPECT_FALSE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\Missing.bmp")));
    EXPECT_FALSE(Dir(QString()));
    // Wildcards are ordinary characters: they match only a file of exactly that name.
    EXPECT_FALSE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\*.bmp")));
    EXPECT_TRUE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\a*b?.html")));
}

TEST_F(FileSystemTest, LoadPictureReportsMissingAndUndecodableFiles)
{
    FakeServices fake;
    folder.writeBmp(QStringLiteral("drive_c/Pic/ok.bmp"), 1280, 1024);
    folder.write(QStringLiteral("drive_c/Pic/bad.gif"), "GIF89a broken");
    QFile whole(folder.path() + QStringLiteral("/drive_c/Pic/ok.bmp"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    folder.write(QStringLiteral("drive_c/Pic/cut.bmp"), whole.read(whole.size() - 1));
    const Picture picture = LoadPicture(QStringLiteral("C:\\Pic\\ok.bmp"), fake.screen);
    EXPECT_EQ(picture.image.size(), QSize(1280, 1024));
    EXPECT_EQ(picture.Width, 33867); // HIMETRIC at 15 twips per pixel
    EXPECT_EQ(picture.Height, 27093);
    EXPECT_EQ(pixelsToHimetric(36, 15.0f), 952); // 952.5: halves go to the even neighbour
    EXPECT_EQ(errorOf([&] { LoadPicture(QStringLiteral("C:\\Pic\\none.gif"), fake.screen); }),
        QStringLiteral("53 C:\\Pic\\none.gif"));
    EXPECT_EQ(errorOf([&] { LoadPicture(QStringLiteral("C:\\Pic\\bad.gif"), fake.screen); }),
        QStringLiteral("481 C:\\Pic\\bad.gif"));
    EXPECT_EQ(errorOf([&] { LoadPicture(QStringLiteral("C:\\Pic\\cut.bmp"), fake.screen); }),
        QStringLiteral("481 C:\\Pic\\cut.bmp"));
}

// Bitmaps of 24 and 32 bits, bottom-up and top-down, rows padded, a gap before the pixels, the
// fourth bytes set, and OS/2's 12-byte header (left to Qt's reader): the colours Qt's reader
// gives them, opaque.
TEST_F(FileSystemTest, LoadPictureGivesPlainBitmapsTheReadersColours)
{
    FakeServices fake;
    for (const int bits : { 16, 24, 32 }) // 16: the reader's own
        for (const qint32 height : { 2, -2 })
            for (const int gap : { 0, 8 })
                for (const bool os2 : { false, true }) {
                    if (os2 && (bits != 24 || height < 0))
                        continue;
                    const int rowBytes = (3 * bits + 31) / 32 * 4, header = os2 ? 26 : 54;
                    QByteArray file("BM");
                    const auto put = [&](quint32 v, int n) {
                        for (int i = 0; i < n; ++i)
                            file += char(v >> (8 * i));
                    };
                    put(header + gap + rowBytes * 2, 4), put(0, 4), put(header + gap, 4);
                    const int field = os2 ? 2 : 4;
                    put(header - 14, 4), put(3, field), put(quint32(height), field);
                    put(1, 2), put(bits, 2);
                    file += QByteArray(os2 ? 0 : 24, '\0'); // compression to colours
                    file += QByteArray(gap, '\x7f');
                    for (int i = 0; i < rowBytes * 2; ++i)
                        file += char(i * 37 + 11);
                    const QImage expected(
                        folder.write(QStringLiteral("drive_c/p.bmp"), file), "BMP");
                    ASSERT_FALSE(expected.isNull()) << os2;
                    EXPECT_EQ(LoadPicture(QStringLiteral("C:\\p.bmp"), fake.screen).image,
                        expected.convertToFormat(QImage::Format_RGB32))
                        << bits << " " << height << " " << gap << " " << os2;
                }
}

// A picture decoded ahead is taken once, for its own path, and only while the file is the one it
// read; a file changed or gone since is loaded, or missed, as it is now.
TEST_F(FileSystemTest, PrefetchedPictureIsTakenOnlyWhileTheFileIsUnchanged)
{
    FakeServices fake;
    const QString shot = QStringLiteral("C:\\shot.bmp");
    const QString file = folder.writeBmp(QStringLiteral("drive_c/shot.bmp"), 40, 30, 0x102030);
    folder.writeBmp(QStringLiteral("drive_c/other.bmp"), 20, 10, 0x405060);
    PrefetchPicture(shot);
    EXPECT_EQ(
        LoadPicture(QStringLiteral("C:\\other.bmp"), fake.screen).image.size(), QSize(20, 10));
    EXPECT_EQ(LoadPicture(shot, fake.screen).image.pixel(39, 29), qRgb(0x10, 0x20, 0x30));

    for (const bool gone : { false, true }) {
        PrefetchPicture(shot);
        QThread::msleep(100); // the prefetch has read the file by then
        if (gone)
            QFile::remove(file);
        else
            folder.writeBmp(QStringLiteral("drive_c/shot.bmp"), 40, 31, 0x405060);
        if (gone)
            EXPECT_EQ(errorOf([&] { LoadPicture(shot, fake.screen); }),
                QStringLiteral("53 C:\\shot.bmp"));
        else
            EXPECT_EQ(LoadPicture(shot, fake.screen).image.pixel(39, 30), qRgb(0x40, 0x50, 0x60));
    }
}
