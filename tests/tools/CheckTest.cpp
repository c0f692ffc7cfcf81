#include "browser/HelpFiles.h"
#include "check/HelpCheck.h"
#include "check/LanguageListing.h"
#include "check/Preview.h"
#include "check/ReportOutput.h"
#include "demovisu/DemoOverlay.h"
#include "demovisu/DemoVisualisation.h"
#include "overlay/MainForm.h"
#include "overlay/OverlayStartup.h"
#include "support/FakeServices.h"
#include "support/JetFixtures.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "kind severity entry file" of the findings of the given kinds (all when none are given).
QStringList seen(const CheckReport &report, const QStringList &kinds = {})
{
    QStringList result;
    for (const Finding &f : report.findings)
        if (kinds.isEmpty() || kinds.contains(f.kind))
            result << QStringLiteral("%1 %2 %3 %4")
                          .arg(f.kind, f.severity == Finding::Severity::Error ? "E" : "W")
                          .arg(f.entry)
                          .arg(f.file.section(QLatin1Char('\\'), -1));
    result.sort();
    return result;
}

// A demo visualisation found by the check as the overlay finds it (TEMPVISU, WINEPREFIX).
class CheckTest : public ::testing::Test
{
protected:
    void layOut(int width = 1280)
    {
        QString error;
        ASSERT_TRUE(buildDemoVisualisation({ folder.path() + "/demo", width }, &demo, &error))
            << error.toStdString();
        prefix.set(demo.winePrefix);
        temp.set(demo.tempVisu);
    }

    void writeDescription(
        const QByteArray &global, const QList<QByteArray> &entries, const QByteArray &tail = {})
    {
        QByteArray text = "[Global]\n" + global;
        for (int i = 0; i < entries.size(); ++i)
            text += "[" + QByteArray::number(i) + "]\n" + entries.at(i) + "\n";
        text += tail;
        folder.write(
            QStringLiteral("demo/drive_c/Temp/Kestrel/Tavlin.txt"), text.replace("\n", "\r\n"));
    }

    const QString kVisu = QStringLiteral("demo/drive_c/Kalvo/");

    TempFolder folder;
    EnvironmentGuard prefix { "WINEPREFIX" };
    EnvironmentGuard temp { "TEMPVISU" };
    DemoVisualisation demo;
    FakeServices fake;
    CheckedOverlay overlay;
};

// One fault of each kind: each found once, for its entry and file, and nothing else.
TEST_F(CheckTest, EveryFaultOnceWithItsEntryAndFile)
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
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=3\n",
        { "Name=Pages\nTag=Checked\nLeft=1500\nTop=1500\nWidth=3000\nHeight=600",
            "Name=Missing\nTag=NoSuchPage\nLeft=6000\nTop=1500\nWidth=3000\nHeight=600",
            "Name=Keys\nTag=Plain\nAligment=4\nLeft=10500\nLeft=99\nTop=1500\nWidth=3000\n"
            "Height=600",
            "Name=Twin\nTag=Plain\nLeft=1500\nTop=4500\nWidth=3000\nHeight=600",
            "Name=Twin\nTag=Plain\nLeft=1500\nTop=4500\nWidth=3000\nHeight=600",
            "Name=FarAway\nTag=Plain\nLeft=25000\nTop=4500\nWidth=1500\nHeight=600",
            "Name=Big\nTag=Plain\nLeft=6000\nTop=7500\nWidth=4500\nHeight=3000",
            "Name=Small\nTag=Plain\nLeft=7500\nTop=9000\nWidth=600\nHeight=300",
            "Name=Lost\nTag=Plain X=5\nContainerName=Nowhere\nLeft=1500\nTop=12000\n"
            "Width=40000\nHeight=300",
            "Name=" + QStringLiteral("Fußzeile").toUtf8()
                + "\nTag=Plain\nLeft=12000\nTop=7500\nWidth=1500\nHeight=600" },
        "[11]\nName=Unread\n");
    const CheckReport report = runCheck({}, overlay, fake.services());
    EXPECT_EQ(seen(report),
        QStringList(
            { "container-not-found E 8 Tavlin.txt", "footer-image E -1 KalvoFußzeileHelp_1280.gif",
                "key-never-matches W 2 Tavlin.txt", "language-folder E -1 Français",
                "name-case W 0 Checked.html", "numbering-gap E 10 Tavlin.txt",
                "page-missing E 1 NoSuchPage.html", "page-orphan W -1 Anlage.html",
                "page-orphan W -1 Anlage.html", "read-error E 8 Tavlin.txt",
                "reference-missing E 0 Checked.html", "reference-outside E 0 Checked.html",
                "reference-web E 0 Checked.html", "repeated-key W 2 Tavlin.txt",
                "screenshot W -1 TavlinScreen.bmp", "symbol-covered E 7 Tavlin.txt",
                "symbol-pushed W 5 Tavlin.txt", "symbols-same-spot E 4 Tavlin.txt",
                "tag-marker W 8 Tavlin.txt", "utf8-as-ansi W 9 Tavlin.txt" }));
    QFile description(folder.path() + "/demo/drive_c/Temp/Kestrel/Tavlin.txt");
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = description.readAll().split('\n');
    for (const Finding &f : report.findings) {
        EXPECT_TRUE(!f.element.startsWith("Symbol(")
            || lines.value(f.line - 1).trimmed() == "[" + QByteArray::number(f.entry) + "]");
        EXPECT_TRUE(f.entry < 0 || f.entry > 1 || f.languages.size() == 2)
            << "one finding for every language: " << f.message.toStdString();
        EXPECT_TRUE(f.kind != QLatin1String("repeated-key") || f.line == 24)
            << "the second Left of entry 2";
        EXPECT_TRUE(f.kind != QLatin1String("reference-missing") || f.line == 5);
        EXPECT_TRUE(f.kind != QLatin1String("read-error") || f.line == 69) << "Width of entry 8";
    }

    // The faults that need a description or a language table of their own.
    folder.write(kVisu + "Program/Tools/Languages.mdb", "no database");
    writeDescription("DispHInt=1024\nVisuPfad=C:\\Kalvo\\\nLanguage=3\n", { "Name=A" });
    EXPECT_EQ(seen(runCheck({}, overlay, fake.services()), { "display-width", "language-table" }),
        QStringList({ "display-width E -1 Tavlin.txt", "language-table E -1 Languages.mdb" }));
    QList<QByteArray> many;
    for (int i = 0; i < 1002; ++i)
        many << "Name=C" + QByteArray::number(i);
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=2\n", many);
    EXPECT_EQ(seen(runCheck({}, overlay, fake.services()), { "too-many-entries", "numbering-gap" }),
        QStringList { "too-many-entries E 1001 Tavlin.txt" });
    // Three frames nested at Left=12000: the third's place overflows, and the overlay stops.
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=2\n",
        { "Name=F\nLeft=12000", "Name=G\nLeft=12000\nContainerName=F",
            "Name=H\nLeft=12000\nContainerName=G" });
    EXPECT_EQ(seen(runCheck({}, overlay, fake.services()), { "stops-at-start-up" }),
        QStringList { "stops-at-start-up E 2 Tavlin.txt" });
}

// The demo's description, read as the overlay reads it, names every control where it is drawn;
// the check finds the demo's two deliberate faults only; the preview is the overlay's frame
// outside the outlines.
TEST_F(CheckTest, DemoFindingsAndPreview)
{
    CheckReport report;
    for (int width : { 1280, 800 }) {
        layOut(width);
        CheckOptions options;
        options.buildOverlay = width == 800;
        report = runCheck(options, overlay, fake.services());
        EXPECT_EQ(seen(report),
            QStringList({ QStringLiteral("page-missing E %1 Wartung.html")
                              .arg(demoEntry(demo.layout, QStringLiteral("CmdWartung"))),
                QStringLiteral("reference-web E %1 Meldungen.html")
                    .arg(demoEntry(demo.layout, QStringLiteral("FraMeldungen"))) }))
            << width;
        // Each file as the overlay writes it and as it lies here.
        const QJsonObject first
            = QJsonDocument::fromJson(reportJson(report)).object()["findings"][0].toObject();
        EXPECT_TRUE(
            QFileInfo(first["localFile"].toString()).isFile() == (first["kind"] != "page-missing"));
        EXPECT_TRUE(first["localFile"].toString().endsWith(
            first["file"].toString().section('\\', -2).replace('\\', '/')));
        const ScreenContext &context = overlay.context;
        const std::vector<DemoControl> controls = demoLayout(width).controls;
        ASSERT_EQ(context.DispHInt, width);
        ASSERT_EQ(context.LastEntry + 1, int(controls.size()));
        for (size_t i = 0; i < controls.size(); ++i) {
            const HelpEntry &entry = context.HelpEntries[i];
            const DemoControl &control = controls[i];
            SCOPED_TRACE(control.name.toStdString() + " at " + std::to_string(width));
            EXPECT_EQ(entry.Name, control.name);
            EXPECT_EQ(entry.Index, control.index);
            EXPECT_EQ(QRect(entry.Left, entry.Top, entry.Width, entry.Height),
                QRect(control.rect.topLeft() * 15, control.rect.size() * 15));
            EXPECT_EQ(entry.Tag, demoTopic(control.tag));
        }
    }
    // The 800-pixel screen lies wholly on the test's offscreen screen.
    QVector<QRect> marks;
    QImage preview
        = renderPreview(*overlay.form, report, &marks).convertToFormat(QImage::Format_RGB32);

    MainForm Main(fake.services());
    ASSERT_TRUE(loadMain(Main));
    QImage own = Main.grab(QRect(0, 0, 800, 600)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(preview == own) << "the outlines are drawn";
    for (QImage *image : { &preview, &own }) {
        QPainter painter(image);
        for (const QRect &mark : marks)
            painter.fillRect(mark, Qt::black);
    }
    EXPECT_TRUE(preview == own);
}

} // namespace

// The table as the overlay reads it: a number in text is its number, a null
// is none; a table the overlay cannot use lists no rows and exits 1.
TEST_F(CheckTest, LanguagesListTheTableAsTheOverlayReadsIt)
{
    layOut();
    folder.write(kVisu + "Program/Tools/Languages.mdb",
        languageTableWriter({ { " 3 ", "Français" }, { "x", QVariant() } },
            JetWriter::Version::Jet4,
            { { "Language", JetWriter::ColumnType::Text },
                { "Name", JetWriter::ColumnType::Text } })
            .build());
    const LanguageListing listing = readLanguageListing({});
    EXPECT_EQ(languageListingText(listing), QStringLiteral("3 Français\n- (no name)\n"));
    EXPECT_EQ(languageListingExitStatus(listing), 0);
    const QJsonObject json = QJsonDocument::fromJson(languageListingJson(listing)).object();
    EXPECT_EQ(json.value("rows").toArray().at(1).toObject(),
        QJsonObject({ { "language", QJsonValue() }, { "name", QJsonValue() } }));
    EXPECT_TRUE(json.value("table").toString().endsWith("/Kalvo/Program/Tools/Languages.mdb"));

    CheckOptions elsewhere;
    elsewhere.visuFolder = folder.path();
    const LanguageListing missing = readLanguageListing(elsewhere);
    EXPECT_EQ(languageListingExitStatus(missing), 1);
    EXPECT_EQ(QJsonDocument::fromJson(languageListingJson(missing)).object(),
        QJsonObject({ { "table", folder.path() + "/Program/Tools/Languages.mdb" },
            { "status", "missing" }, { "rows", QJsonArray() } }));
    temp.set(QStringLiteral("C:\\Nowhere"));
    EXPECT_THROW(readLanguageListing({}), CheckFailed);
}

// What the browser loads besides href and src, from where the help window resolves it: srcset,
// poster, background, a refresh, url() and @import of style elements, attributes and sheets,
// <base href>; links to a place need the place; data: loads nothing; mailto: has its own kind.
TEST_F(CheckTest, EverythingTheBrowserLoads)
{
    layOut();
    const QString pages = kVisu + "Program/Help/Tavlin/";
    folder.write(pages + "English/Loads.html",
        "<html><head>\n<style>@import \"gone1.css\"; p { content: \"url(no.png)\" }</style>\n"
        "<link rel=\"stylesheet\" href=\"Sheet.css\">\n"
        "<meta http-equiv=\"refresh\" content=\"30; url=gone2.html\">\n"
        "</head><body background=\"gone3.png\" style=\"cursor: url('gone4.cur')\">\n"
        "<img srcset=\"gone5.png 1x, Sheet.css 2x\" src=\"data:image/png;base64,AAAA\">\n"
        "<video poster=\"gone6.png\"></video><a href=\"mailto:a@example.com\">m</a>\n"
        "<a href=\"#nowhere\">a</a><a href=\"#here\">b</a><a href=\"Loads.html#top\">c</a>\n"
        "<p id=\"here\"><!-- <img src=\"no.png\"> --></p>\n"
        "<img src=\"..\\Bilder\\anlage.png\"><img src=\"\\English\\gone9.png\"></body></html>");
    folder.write(pages + "English/Sheet.css", "\n\nbody { background: url(../Bilder/gone7.png) }");
    folder.write(pages + "English/Based.html",
        "<base href=\"../Deutsch/\"><img src=\"Only.png\"><img src=\"gone8.png\">");
    folder.write(pages + "Deutsch/Only.png", "picture");
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=2\n",
        { "Name=L\nTag=Loads\nLeft=1500\nTop=1500\nWidth=3000\nHeight=600",
            "Name=B\nTag=Based\nLeft=6000\nTop=1500\nWidth=3000\nHeight=600" });
    QStringList found;
    for (const Finding &f : runCheck({ {}, {}, 2 }, overlay, fake.services()).findings)
        if (f.kind != QLatin1String("page-missing") && f.kind != QLatin1String("page-orphan"))
            found << QStringLiteral("%1 %2:%3 %4")
                         .arg(f.kind, f.file.section('\\', -1))
                         .arg(f.line)
                         .arg(f.element);
    found.sort();
    EXPECT_EQ(found,
        QStringList({ "fragment-missing Loads.html:8 <a href=\"#nowhere\">",
            "reference-missing Based.html:1 <img src=\"gone8.png\">",
            "reference-missing Loads.html:10 <img src=\"\\English\\gone9.png\">",
            "reference-missing Loads.html:2 <style @import=\"gone1.css\">",
            "reference-missing Loads.html:4 <meta content=\"gone2.html\">",
            "reference-missing Loads.html:5 <body background=\"gone3.png\">",
            "reference-missing Loads.html:5 <body url()=\"gone4.cur\">",
            "reference-missing Loads.html:6 <img srcset=\"gone5.png\">",
            "reference-missing Loads.html:7 <video poster=\"gone6.png\">",
            "reference-missing Sheet.css:3 url(../Bilder/gone7.png)",
            "reference-scheme Loads.html:7 <a href=\"mailto:a@example.com\">" }));
}

// A file the help window refuses has its reason: a symbolic link, a folder, a file with two
// names, one larger than the window takes, a hidden name, a name in Windows-1252. (Permissions
// mean nothing to root.)
TEST_F(CheckTest, TheRealReasonForARefusedFile)
{
    layOut();
    const QString pages = kVisu + "Program/Help/Tavlin/English/";
    const QString local = folder.path() + '/' + pages;
    ASSERT_TRUE(QDir().mkpath(local + "Ordner.html") && QDir().mkpath(local + "Real"));
    ASSERT_TRUE(QFile::link(local + "Anlage.html", local + "Verweis.html"));
    ASSERT_TRUE(QFile::link(local + "Real", local + "Via"));
    folder.write(pages + "Refs.html",
        "<img src=\"Big.png\"><img src=\"Twin.png\"><img src=\".Hidden.png\"><img "
        "src=\"Via/x.png\">");
    for (const char *name : { "One.png", ".Hidden.png", "Real/x.png" })
        folder.write(pages + name, "picture");
    ASSERT_EQ(
        ::link(QFile::encodeName(local + "One.png"), QFile::encodeName(local + "Twin.png")), 0);
    QFile big(local + "Big.png");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(HelpFiles::kLargestFile + 1));
    const QByteArray copied = QFile::encodeName(local) + "Fu\xdfzeile.html"; // Windows-1252
    ::close(::open(copied.constData(), O_CREAT | O_WRONLY, 0644));
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=2\n",
        { "Name=O\nTag=Ordner\nLeft=1500\nTop=1500\nWidth=3000\nHeight=600",
            "Name=V\nTag=Verweis\nLeft=6000\nTop=1500\nWidth=3000\nHeight=600",
            "Name=R\nTag=Refs\nLeft=10500\nTop=1500\nWidth=3000\nHeight=600",
            "Name=W\nTag=Fu\xdfzeile\nLeft=1500\nTop=4500\nWidth=3000\nHeight=600" });
    const CheckReport report = runCheck({ {}, {}, 2 }, overlay, fake.services());
    ::unlink(copied.constData()); // a name the temporary folder cannot remove
    EXPECT_EQ(seen(report,
                  { "page-folder", "page-link", "page-encoding", "reference-hard-link",
                      "reference-hidden", "reference-link", "reference-too-large" }),
        QStringList({ "page-encoding E 3 Fußzeile.html", "page-folder E 0 Ordner.html",
            "page-link E 1 Verweis.html", "reference-hard-link E 2 Refs.html",
            "reference-hidden E 2 Refs.html", "reference-link E 2 Refs.html",
            "reference-too-large E 2 Refs.html" }));
    EXPECT_EQ(seen(report, { "page-missing", "reference-missing" }), QStringList());
}

// The mistakes behind a missing page, said as such: a near name, LF line ends, a file that is no
// page, a page in another encoding than it says, a link for a new window, an entry lost after a
// gap in the numbering.
TEST_F(CheckTest, TheMistakeBehindAMissingPage)
{
    layOut();
    const QString pages = kVisu + "Program/Help/Tavlin/";
    folder.write(pages + "English/Word.html", QByteArray("\xd0\xcf\x11\xe0 document", 13));
    folder.write(pages + "English/Old.htm", "<p>old</p>");
    folder.write(pages + "English/Claims.html",
        "<meta charset=\"utf-8\"><p>Gr\xfc\xdf"
        "e</p>\n<a href=\"Old.htm\" target=\"_blank\">x</a>");
    folder.write(pages + "English/Latin.html",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=windows-1252\">Gr\xc3\xbc\xc3\x9f"
        "e");
    QDir(folder.path() + '/' + pages).rename("English", "Englísh");
    const auto entry = [](const char *name, const char *tag) {
        return "Name=" + QByteArray(name) + "\nTag=" + tag
            + "\nLeft=1500\nTop=1500\nWidth=3000\nHeight=600";
    };
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=2\n",
        { entry("A", "Anlage "), entry("B", "Bedienung.html"), entry("C", "Old"),
            entry("D", "Word"), entry("E", "Claims"), entry("F", "Latin") },
        "[7]\nName=Lost\n");
    const CheckReport renamed = runCheck({}, overlay, fake.services());
    EXPECT_TRUE(seen(renamed, { "near-match" }).contains("near-match E -1 English"));
    EXPECT_EQ(seen(renamed, { "numbering-gap" }), QStringList { "numbering-gap E 6 Tavlin.txt" });
    QDir(folder.path() + '/' + pages).rename("Englísh", "English");
    const CheckReport report = runCheck({}, overlay, fake.services());
    EXPECT_EQ(seen(report, { "near-match", "not-html", "charset", "target-blank" }),
        QStringList({ "charset E 4 Claims.html", "charset W 5 Latin.html",
            "near-match E 0 Anlage .html", "near-match E 1 Bedienung.html.html",
            "near-match E 2 Old.html", "not-html E 3 Word.html", "target-blank E 4 Claims.html" }));
    for (const Finding &f : report.findings)
        EXPECT_TRUE(f.kind != "numbering-gap" || f.message.contains("7 (Lost)"))
            << f.message.toStdString();
    QFile description(folder.path() + "/demo/drive_c/Temp/Kestrel/Tavlin.txt");
    ASSERT_TRUE(description.open(QIODevice::ReadWrite));
    const QByteArray text = description.readAll().replace("\r\n", "\n");
    description.resize(0);
    description.write(text);
    description.close();
    EXPECT_EQ(seen(runCheck({}, overlay, fake.services()), { "line-ends" }),
        QStringList { "line-ends E -1 Tavlin.txt" });
    // A named pipe as the description would hold any reader forever: nothing to check.
    ASSERT_TRUE(description.remove());
    ASSERT_EQ(::mkfifo(QFile::encodeName(description.fileName()).constData(), 0600), 0);
    EXPECT_THROW(runCheck({}, overlay, fake.services()), CheckFailed);
}

// A page another language's page links to counts for its own language, under its own name,
// once however the links spell it.
TEST_F(CheckTest, LinkedPagesUnderTheirOwnNameAndLanguage)
{
    layOut();
    const QString pages = kVisu + "Program/Help/Tavlin/";
    folder.write(pages + "Deutsch/Start.html",
        "<a href=\"../English/other.HTML\">e</a><a href=\"../English/Other.html\">e</a>");
    folder.write(pages + "English/Other.html", "<img src=\"gone.png\">");
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=1\n",
        { "Name=S\nTag=Start\nLeft=1500\nTop=1500\nWidth=3000\nHeight=600" });
    QStringList missing;
    for (const Finding &f : runCheck({}, overlay, fake.services()).findings)
        if (f.kind == QLatin1String("reference-missing"))
            missing << f.file.section('\\', -2) + ' ' + f.languages.join(',');
    EXPECT_EQ(missing, QStringList { "English\\Other.html English" });
}

// One missing picture that many pages show is one finding, with every place it holds in.
TEST_F(CheckTest, RepeatedFindingsGrouped)
{
    layOut();
    QList<QByteArray> entries;
    for (const char *page : { "One", "Two", "Three" }) {
        folder.write(kVisu + "Program/Help/Tavlin/English/" + page + ".html",
            "<p>\n<img src=\"../Bilder/none.png\">");
        entries << "Name=" + QByteArray(page) + "\nTag=" + page
                + "\nLeft=1500\nTop=1500\nWidth=3000\nHeight=600";
    }
    writeDescription("DispHInt=1280\nVisuPfad=C:\\Kalvo\\\nLanguage=2\n", entries);
    const CheckReport report = runCheck({ {}, {}, 2 }, overlay, fake.services());
    ASSERT_EQ(
        seen(report, { "reference-missing" }), QStringList { "reference-missing E 0 One.html" });
    QJsonArray places;
    for (const QJsonValue &f :
        QJsonDocument::fromJson(reportJson(report)).object()["findings"].toArray())
        if (f["kind"] == "reference-missing")
            places = f["places"].toArray();
    QStringList where;
    for (const QJsonValue &place : places)
        where << QStringLiteral("%1 %2:%3")
                     .arg(place["entry"].toInt())
                     .arg(place["file"].toString().section('\\', -1))
                     .arg(place["line"].toInt());
    EXPECT_EQ(where, QStringList({ "0 One.html:2", "1 Two.html:2", "2 Three.html:2" }));
    EXPECT_TRUE(reportText(report).contains("the same in 2 more places"));
}
