#include "check/HelpCheck.h"
#include "check/Preview.h"
#include "demovisu/DemoOverlay.h"
#include "demovisu/DemoVisualisation.h"
#include "form/MainForm.h"
#include "overlay/OverlayStartup.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QRegion>
#include <gtest/gtest.h>

namespace {

// kind, severity ("E"/"W"), entry, and the end of the file name ("" for none).
using Seen = std::tuple<std::string, std::string, int, std::string>;

// The findings of the given kinds; all of them when none are given.
std::vector<Seen> seen(const CheckReport &report, const std::set<std::string> &kinds = {})
{
    std::vector<Seen> result;
    for (const Finding &f : report.findings)
        if (kinds.empty() || kinds.count(f.kind.toStdString()))
            result.emplace_back(f.kind.toStdString(),
                f.severity == Finding::Severity::Error ? "E" : "W", f.entry,
                f.file.section(QLatin1Char('\\'), -1).toStdString());
    std::sort(result.begin(), result.end());
    return result;
}

// A demo visualisation under Wine-style drive links, found by the check as
// the overlay finds it (TEMPVISU, WINEPREFIX).
class CheckTest : public ::testing::Test
{
protected:
    void layOut(int width = 1280)
    {
        DemoOptions options;
        options.root = folder.path() + QStringLiteral("/demo");
        options.displayWidth = width;
        QString error;
        ASSERT_TRUE(buildDemoVisualisation(options, &demo, &error)) << error.toStdString();
        prefix.set(demo.winePrefix);
        temp.set(demo.tempVisu);
    }

    CheckReport check(CheckOptions options = {})
    {
        try {
            return runCheck(options, overlay);
        } catch (const CheckFailed &failure) {
            ADD_FAILURE() << failure.message.toStdString();
            return {};
        }
    }

    // One visualisation with one of each fault, on the demo's folders.
    void layOutFaults()
    {
        layOut();
        for (const char *language : { "Deutsch", "English" }) {
            const QString pages = kVisu + "Program/Help/Tavlin/" + language + '/';
            folder.write(pages + "Plain.html", "<html><body>plain</body></html>");
            folder.write(pages + "frame.html", "<html><body>frame</body></html>");
            folder.write(pages + "Checked.html",
                "<html><head>\n<link rel=\"stylesheet\" href=\"../../../outside.css\">\n"
                "<script src=\"http://example.com/x.js\"></script>\n</head><body>\n"
                "<img src=\"../Bilder/none.png\">\n<iframe src=\"Frame.html\"></iframe>\n"
                "</body></html>");
        }
        QFile::remove(
            folder.path() + '/' + kVisu + "Standard/KalvoFußzeile/KalvoFußzeileHelp_1280.gif");
        folder.writeBmp(QStringLiteral("demo/drive_c/Temp/Kestrel/TavlinScreen.bmp"), 1280, 1000);
        writeDescription("DispHInt=1280\r\nVisuPfad=C:\\Kalvo\\\r\nLanguage=3\r\n",
            { "Name=Pages\r\nTag=Checked\r\nLeft=1500\r\nTop=1500\r\nWidth=3000\r\nHeight=600",
                "Name=Missing\r\nTag=NoSuchPage\r\nLeft=6000\r\nTop=1500\r\nWidth=3000\r\nHeight="
                "600",
                "Name=Keys\r\nTag=Plain\r\nAligment=4\r\nLeft=10500\r\nLeft=99\r\nTop=1500\r\n"
                "Width=3000\r\nHeight=600",
                "Name=Twin\r\nTag=Plain\r\nLeft=1500\r\nTop=4500\r\nWidth=3000\r\nHeight=600",
                "Name=Twin\r\nTag=Plain\r\nLeft=1500\r\nTop=4500\r\nWidth=3000\r\nHeight=600",
                "Name=FarAway\r\nTag=Plain\r\nLeft=25000\r\nTop=4500\r\nWidth=1500\r\nHeight=600",
                "Name=Big\r\nTag=Plain\r\nLeft=6000\r\nTop=7500\r\nWidth=4500\r\nHeight=3000",
                "Name=Small\r\nTag=Plain\r\nLeft=7500\r\nTop=9000\r\nWidth=600\r\nHeight=300",
                "Name=Lost\r\nTag=Plain X=5\r\nContainerName=Nowhere\r\nLeft=1500\r\nTop=12000\r\n"
                "Width=600\r\nHeight=300",
                "Name=" + QStringLiteral("Fußzeile").toUtf8()
                    + "\r\nTag=Plain\r\nLeft=12000\r\nTop=7500\r\nWidth=1500\r\nHeight=600" },
            "[11]\r\nName=Unread\r\n");
    }

    void writeDescription(
        const QByteArray &global, const QList<QByteArray> &entries, const QByteArray &tail = {})
    {
        QByteArray text = "[Global]\r\n" + global;
        for (int i = 0; i < entries.size(); ++i)
            text += "[" + QByteArray::number(i) + "]\r\n" + entries.at(i) + "\r\n";
        folder.write(QStringLiteral("demo/drive_c/Temp/Kestrel/Tavlin.txt"), text + tail);
    }

    const QString kVisu = QStringLiteral("demo/drive_c/Kalvo/");

    TempFolder folder;
    EnvironmentGuard prefix { "WINEPREFIX" };
    EnvironmentGuard temp { "TEMPVISU" };
    DemoVisualisation demo;
    CheckedOverlay overlay;
};

// One visualisation with one fault of each kind: each found once, for its
// entry and file, and nothing else.
TEST_F(CheckTest, EveryFaultOnceWithItsEntryAndFile)
{
    layOutFaults();
    const CheckReport report = check();
    EXPECT_EQ(seen(report),
        (std::vector<Seen> { { "container-not-found", "E", 8, "Tavlin.txt" },
            { "footer-image", "E", -1, "KalvoFußzeileHelp_1280.gif" },
            { "key-never-matches", "W", 2, "Tavlin.txt" },
            { "language-folder", "E", -1, "Français" }, { "name-case", "W", 0, "Checked.html" },
            { "numbering-gap", "E", 10, "Tavlin.txt" },
            { "page-missing", "E", 1, "NoSuchPage.html" },
            { "reference-missing", "E", 0, "Checked.html" },
            { "reference-outside", "E", 0, "Checked.html" },
            { "reference-web", "E", 0, "Checked.html" }, { "repeated-key", "W", 2, "Tavlin.txt" },
            { "screenshot", "W", -1, "TavlinScreen.bmp" }, { "symbol-covered", "E", 7, "" },
            { "symbol-pushed", "W", 5, "" }, { "symbols-same-spot", "E", 4, "" },
            { "tag-marker", "W", 8, "Tavlin.txt" }, { "utf8-as-ansi", "W", 9, "Tavlin.txt" } }));
    for (const Finding &f : report.findings) {
        EXPECT_TRUE(f.entry < 0 || f.entry > 1 || f.languages.size() == 2)
            << "one finding for every language: " << f.message.toStdString();
        EXPECT_TRUE(f.kind != QLatin1String("repeated-key") || f.line == 24)
            << "the second Left of entry 2";
        EXPECT_TRUE(f.kind != QLatin1String("reference-missing") || f.line == 5);
    }

    // The faults that need a description or a language table of their own.
    folder.write(kVisu + "Program/Tools/Languages.mdb", "no database");
    writeDescription("DispHInt=1024\r\nVisuPfad=C:\\Kalvo\\\r\nLanguage=3\r\n", { "Name=A" });
    EXPECT_EQ(seen(check(), { "display-width", "language-table" }),
        (std::vector<Seen> { { "display-width", "E", -1, "Tavlin.txt" },
            { "language-table", "E", -1, "Languages.mdb" } }));
    QList<QByteArray> many;
    for (int i = 0; i < 1002; ++i)
        many << "Name=C" + QByteArray::number(i);
    writeDescription("DispHInt=1280\r\nVisuPfad=C:\\Kalvo\\\r\nLanguage=2\r\n", many);
    EXPECT_EQ(seen(check(), { "too-many-entries", "numbering-gap" }),
        (std::vector<Seen> { { "too-many-entries", "E", 1001, "Tavlin.txt" } }));
}

// The demo's two faults on purpose and nothing else, at both widths.
TEST_F(CheckTest, DemoGivesItsDeliberateFindings)
{
    for (int width : { 1280, 800 }) {
        layOut(width);
        std::vector<Seen> expected { { "page-missing", "E",
                                         demoEntry(demo.layout, QStringLiteral("CmdWartung")),
                                         "Wartung.html" },
            { "reference-web", "E", demoEntry(demo.layout, QStringLiteral("FraMeldungen")),
                "Meldungen.html" } };
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(seen(check()), expected) << width;
    }
}

// On the 800-pixel screen, which lies wholly on the test's offscreen screen.
TEST_F(CheckTest, PreviewIsTheOverlaysOwnFrameOutsideTheOutlines)
{
    layOut(800);
    FakePlatform fake;
    CheckOptions options;
    options.buildOverlay = true;
    const CheckReport report = check(options);
    QVector<QRect> marks;
    const QImage preview = renderPreview(*overlay.form, report, &marks);

    MainForm Main;
    ASSERT_TRUE(loadMain(Main));
    const QImage own
        = Main.grab(QRect(0, 0, 800, 600)).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(preview.size(), own.size());
    QRegion marked;
    for (const QRect &mark : marks)
        marked += mark;
    int differing = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
            if (preview.pixel(x, y) != own.pixel(x, y)) {
                ++differing;
                ASSERT_TRUE(marked.contains(QPoint(x, y))) << x << "," << y;
            }
    EXPECT_GT(differing, 0) << "the outlines are drawn";
}

} // namespace
