#include "form/MainForm.h"
#include "check/HelpCheck.h"
#include "check/Preview.h"
#include "demovisu/DemoOverlay.h"
#include "demovisu/DemoVisualisation.h"
#include "demovisu/HelpPages.h"
#include "semantics/AnsiText.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QRegion>
#include <gtest/gtest.h>

namespace {

// kind, severity ("E"/"W"), entry, and the end of the file name ("" for none).
using Seen = std::tuple<std::string, std::string, int, std::string>;

std::vector<Seen> seen(const CheckReport &report, const std::set<std::string> &kinds)
{
    std::vector<Seen> result;
    for (const Finding &f : report.findings)
        if (kinds.count(f.kind.toStdString()))
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
        const QString help = demo.visuFolder + QStringLiteral("/Program/Help/Tavlin/");
        for (const char *language : { "Deutsch", "English" }) {
            const QString pages = help + QLatin1String(language) + QLatin1Char('/');
            write(pages + QStringLiteral("Plain.html"), "<html><body>plain</body></html>");
            write(pages + QStringLiteral("frame.html"), "<html><body>frame</body></html>");
            write(pages + QStringLiteral("Checked.html"),
                "<html><head>\n<link rel=\"stylesheet\" href=\"../../../outside.css\">\n"
                "<script src=\"http://example.com/x.js\"></script>\n</head><body>\n"
                "<img src=\"../Bilder/none.png\">\n<iframe src=\"Frame.html\"></iframe>\n"
                "</body></html>");
        }
        QFile::remove(
            demo.visuFolder + QStringLiteral("/Standard/KalvoFußzeile/KalvoFußzeileHelp_1280.gif"));
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
        write(demo.tempFolder + QStringLiteral("/Tavlin.txt"), text + tail);
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TempFolder folder;
    EnvironmentGuard prefix { "WINEPREFIX" };
    EnvironmentGuard temp { "TEMPVISU" };
    DemoVisualisation demo;
    CheckedOverlay overlay;
};

TEST_F(CheckTest, DescriptionFaultsEachOnceWithLineAndEntry)
{
    layOutFaults();
    const CheckReport report = check();
    EXPECT_EQ(
        seen(report,
            { "numbering-gap", "key-never-matches", "repeated-key", "container-not-found",
                "screenshot", "utf8-as-ansi", "tag-marker", "display-width", "too-many-entries" }),
        (std::vector<Seen> { { "container-not-found", "E", 8, "Tavlin.txt" },
            { "key-never-matches", "W", 2, "Tavlin.txt" },
            { "numbering-gap", "E", 10, "Tavlin.txt" }, { "repeated-key", "W", 2, "Tavlin.txt" },
            { "screenshot", "W", -1, "TavlinScreen.bmp" }, { "tag-marker", "W", 8, "Tavlin.txt" },
            { "utf8-as-ansi", "W", 9, "Tavlin.txt" } }));
    for (const Finding &f : report.findings) {
        if (f.kind == QLatin1String("repeated-key")) {
            EXPECT_EQ(f.line, 24) << "the second Left of entry 2";
        }
    }

    // The two faults that need a description of their own.
    writeDescription("DispHInt=1024\r\nVisuPfad=C:\\Kalvo\\\r\n", { "Name=A" });
    EXPECT_EQ(seen(check(), { "display-width" }),
        (std::vector<Seen> { { "display-width", "E", -1, "Tavlin.txt" } }));
    QList<QByteArray> many;
    for (int i = 0; i < 1002; ++i)
        many << "Name=C" + QByteArray::number(i);
    writeDescription("DispHInt=1280\r\nVisuPfad=C:\\Kalvo\\\r\nLanguage=2\r\n", many);
    EXPECT_EQ(seen(check(), { "too-many-entries", "numbering-gap" }),
        (std::vector<Seen> { { "too-many-entries", "E", 1001, "Tavlin.txt" } }));
}

TEST_F(CheckTest, PlacementFaultsFromTheOverlaysOwnStacking)
{
    layOutFaults();
    EXPECT_EQ(seen(check(), { "symbol-pushed", "symbol-covered", "symbols-same-spot" }),
        (std::vector<Seen> { { "symbol-covered", "E", 7, "" }, { "symbol-pushed", "W", 5, "" },
            { "symbols-same-spot", "E", 4, "" } }));
}

TEST_F(CheckTest, HelpPageFaultsOncePerEntryForEveryLanguage)
{
    layOutFaults();
    const CheckReport report = check();
    EXPECT_EQ(seen(report,
                  { "page-missing", "reference-missing", "reference-outside", "reference-web",
                      "name-case" }),
        (std::vector<Seen> { { "name-case", "W", 0, "Checked.html" },
            { "page-missing", "E", 1, "NoSuchPage.html" },
            { "reference-missing", "E", 0, "Checked.html" },
            { "reference-outside", "E", 0, "Checked.html" },
            { "reference-web", "E", 0, "Checked.html" } }));
    for (const Finding &f : report.findings) {
        if (f.entry >= 0 && f.entry <= 1) {
            EXPECT_EQ(f.languages.size(), 2) << f.message.toStdString();
        }
        if (f.kind == QLatin1String("reference-missing")) {
            EXPECT_EQ(f.line, 5);
        }
    }
}

TEST_F(CheckTest, LanguageTableAndFooterFaults)
{
    layOutFaults();
    const std::set<std::string> kinds { "language-table", "language-folder", "footer-image" };
    EXPECT_EQ(seen(check(), kinds),
        (std::vector<Seen> { { "footer-image", "E", -1, "KalvoFußzeileHelp_1280.gif" },
            { "language-folder", "E", -1, "Français" } }));

    write(demo.visuFolder + QStringLiteral("/Program/Tools/Languages.mdb"), "no database");
    EXPECT_EQ(seen(check(), kinds),
        (std::vector<Seen> { { "footer-image", "E", -1, "KalvoFußzeileHelp_1280.gif" },
            { "language-table", "E", -1, "Languages.mdb" } }));
}

// The demo's two faults on purpose and nothing else: every symbol can be
// clicked, by the overlay's stacking as by the demo's own model of it.
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
        const CheckReport report = check();
        std::set<std::string> all;
        for (const Finding &f : report.findings)
            all.insert(f.kind.toStdString());
        EXPECT_EQ(seen(report, all), expected) << width;

        const QImage symbol(QStringLiteral(TAVLIN_BINARY_DIR "/bin/Tavlin_%1.gif").arg(width));
        const auto elements = demoOverlayElements(demo.layout, symbol.size());
        for (size_t k = 0; k < elements.size(); ++k) {
            QRegion open(elements[k].rect);
            for (size_t a = k + 1; a < elements.size(); ++a)
                open -= elements[a].rect;
            EXPECT_FALSE(elements[k].symbol && open.isEmpty())
                << "entry " << elements[k].entry << " at " << width;
        }
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
    ASSERT_TRUE(Main.load());
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
