#include "demovisu/DemoVisualisation.h"
#include "state/ScreenContext.h"
#include "demovisu/BmpWriter.h"
#include "demovisu/HelpPages.h"
#include "demovisu/LanguageTable.h"
#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/LanguageResolver.h"
#include "description/TavlinModule.h"
#include "semantics/AnsiText.h"
#include "os/FileSystem.h"
#include "os/PathMapper.h"
#include "semantics/Val.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kGrey = 0xFF808080u;
constexpr QRgb kSilver = 0xFFC0C0C0u;

DemoVisualisation build(const TempFolder &folder, int width, int language = 2)
{
    DemoOptions options;
    options.root = folder.path() + QStringLiteral("/demo");
    options.displayWidth = width;
    options.language = language;
    DemoVisualisation demo;
    QString error;
    EXPECT_TRUE(buildDemoVisualisation(options, &demo, &error)) << error.toStdString();
    return demo;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The description as the program reads it, through the Windows paths and
// the drive link.
void readDescription(const DemoVisualisation &demo, ScreenContext &context)
{
    context.TempPfad = demo.tempVisu + QStringLiteral("\\Kestrel");
    TavlinModule module;
    ReadDescription(context, module);
    ResolveContainers(context);
}

} // namespace

TEST(DemoVisualisation, DescriptionMatchesTheDrawnControls)
{
    for (const int width : { 1280, 800 }) {
        SCOPED_TRACE(width);
        TempFolder folder;
        const DemoVisualisation demo = build(folder, width, 1);
        EnvironmentGuard wine("WINEPREFIX");
        wine.set(demo.winePrefix);

        // Windows-1252 with CR LF line ends, as the visualisation writes it.
        const QByteArray raw = readAll(demo.tempFolder + QStringLiteral("/Tavlin.txt"));
        ASSERT_FALSE(raw.isEmpty());
        EXPECT_EQ(raw.count("\r\n"), raw.count('\n'));
        EXPECT_TRUE(raw.contains("\r\nName=Fu\xDFzeile\r\n"));
        EXPECT_FALSE(raw.contains("\xC3\x9F")) << "no UTF-8";
        EXPECT_TRUE(raw.startsWith("[Global]\r\n"));

        ScreenContext context;
        readDescription(demo, context);
        EXPECT_EQ(context.DispHInt, width);
        EXPECT_EQ(context.VisuPfad, QStringLiteral("C:\\Kalvo\\"));
        EXPECT_EQ(context.LanguageNumber, 1);
        const std::vector<DemoControl> &controls = demo.layout.controls;
        ASSERT_EQ(context.LastEntry + 1, static_cast<int>(controls.size()));

        // Every entry lands, after its containers are added, exactly on the
        // rectangle the control was drawn in.
        int deepest = 0;
        QSet<int> alignments;
        bool centred = false, leftEdge = false, numericX = false, typed = false, footer = false,
             empty = false, noAlignment = false;
        for (int i = 0; i <= context.LastEntry; ++i) {
            const HelpEntry &entry = context.HelpEntries[static_cast<size_t>(i)];
            const DemoControl &control = controls[static_cast<size_t>(i)];
            SCOPED_TRACE(control.name.toStdString() + " " + std::to_string(control.index));
            EXPECT_EQ(entry.Name, control.name);
            EXPECT_EQ(entry.Index, control.index);
            EXPECT_EQ(entry.Left, control.rect.left() * 15);
            EXPECT_EQ(entry.Top, control.rect.top() * 15);
            EXPECT_EQ(entry.Width, control.rect.width() * 15);
            EXPECT_EQ(entry.Height, control.rect.height() * 15);
            EXPECT_NE(entry.ContainerPath, QStringLiteral("FALSE"));
            EXPECT_EQ(entry.Tag, demoTopic(control.tag));
            EXPECT_TRUE(QRect(0, 0, width, demo.layout.height).contains(control.rect));
            deepest
                = qMax(deepest, static_cast<int>(entry.ContainerPath.count(QLatin1Char('.'))) - 1);
            alignments.insert(entry.Alignment);
            centred |= entry.TagY == QLatin1String("C");
            leftEdge |= entry.TagX == QLatin1String("L");
            numericX |= !entry.TagX.isEmpty() && Val(entry.TagX) > 0;
            typed |= control.tag.contains(QLatin1String("T="));
            footer |= UCase(entry.Name) == QStringLiteral("FUßZEILE");
            empty |= entry.Tag.isEmpty();
            noAlignment |= !control.hasAlignment && entry.Alignment == -1;
        }
        EXPECT_EQ(deepest, 1) << "containers nest one deep, so none hides a symbol";
        for (const int code : { 1, -1, 4, 7 })
            EXPECT_TRUE(alignments.contains(code)) << code;
        EXPECT_GE(alignments.size(), 5) << "and another value";
        EXPECT_TRUE(centred && leftEdge && numericX && typed && footer && empty && noAlignment);

        // Every tag has its pages in both languages but the missing one.
        QSet<QString> missing;
        int pages = 0;
        for (int i = 0; i <= context.LastEntry; ++i) {
            const QString tag = context.HelpEntries[static_cast<size_t>(i)].Tag;
            if (tag.isEmpty())
                continue;
            for (const QString &language : demoHelpLanguages()) {
                // The path exactly as a click on the symbol builds it.
                const QString page = context.VisuPfad + QStringLiteral("Program\\Help\\Tavlin\\")
                    + language + QStringLiteral("\\") + tag + QStringLiteral(".html");
                if (Dir(page))
                    ++pages;
                else
                    missing.insert(tag);
            }
        }
        EXPECT_EQ(missing, QSet<QString> { demoMissingTopic() });
        EXPECT_GT(pages, 40);

        // The footer button image, by the path the overlay builds, through the drive link.
        const QString buttonPath = mapWindowsPath(
            QStringLiteral("C:\\Kalvo\\Standard\\KalvoFußzeile\\KalvoFußzeileHelp_%1.gif")
                .arg(width));
        QImageReader reader(buttonPath);
        EXPECT_EQ(reader.format(), QByteArray("gif"));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << buttonPath.toStdString();
        EXPECT_EQ(image.pixel(0, 0) | 0xFF000000u, kSilver);
        EXPECT_NE(image.pixel(image.width() / 2, image.height() / 2) | 0xFF000000u, kSilver);

        // Copied latched (one pixel right and down of the raised place), its
        // last pixel still lies inside the silver triangle.
        const int legs = width == 800 ? 37 : 59; // triangle from (k, T + k), k = 1 or 2
        const int corner = width == 800 ? 1 : 2;
        const int latched = width == 800 ? 3 : 5;
        const int lastX = latched + image.width() - 1;
        const int lastY = latched + image.height() - 1;
        EXPECT_LE((lastX - corner) + (lastY - corner), legs);

        // The language table, read the way the program reads it, yields real
        // names, not the English fallback of a missing or unreadable table.
        for (const DemoLanguage &language : demoLanguages()) {
            context.LanguageNumber = static_cast<qint16>(language.number);
            context.LanguageName.clear();
            ResolveLanguage(context);
            EXPECT_EQ(context.LanguageName, language.name) << language.number;
        }
        context.LanguageNumber = 6; // no row
        context.LanguageName.clear();
        ResolveLanguage(context);
        EXPECT_EQ(context.LanguageName, QStringLiteral("English"));

        // The screenshot: a 24-bit bitmap with the footer button.
        const QString screenPath = demo.tempFolder + QStringLiteral("/TavlinScreen.bmp");
        const QByteArray bytes = readAll(screenPath);
        ASSERT_GT(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        EXPECT_EQ(static_cast<quint8>(bytes.at(28)), 24);
        const QImage screen = QImage(screenPath).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(screen.size(), width == 800 ? QSize(800, 600) : QSize(1280, 1024));

        const int t = demo.layout.footerTop;
        EXPECT_EQ(t, width == 800 ? 537 : 916);
        const auto at = [&](int x, int y) { return screen.pixel(x, y) | 0xFF000000u; };
        const auto footerColour = [&](int x, int y) {
            const QRgb c = at(x, y);
            return c != kWhite && c != kGrey && c != kSilver;
        };
        // Leg end points, the outer hypotenuse meeting the footer top, the
        // triangle's corners and the image's help mark inside it.
        const bool narrow = width == 800;
        const int leg = narrow ? 40 : 65; // the triangle: corner and legs as above
        EXPECT_EQ(at(0, t), kWhite);
        EXPECT_EQ(at(leg, t), kWhite);
        EXPECT_EQ(at(0, t + leg - 1), kWhite);
        EXPECT_EQ(at(leg + 1, t), kGrey);
        EXPECT_EQ(at(corner, t + corner), kSilver);
        EXPECT_EQ(at(corner + legs, t + corner), kSilver);
        EXPECT_EQ(at(corner, t + corner + legs), kSilver);
        const int mark = narrow ? 2 + 8 : 4 + 13;
        EXPECT_NE(at(mark, t + mark), kSilver);
        EXPECT_TRUE(footerColour(narrow ? 30 : 45, t + (narrow ? 30 : 45)));
        EXPECT_TRUE(footerColour(leg + 3, t + 1));
        // Above the footer there is none of it.
        EXPECT_TRUE(footerColour(0, t - 1) || at(0, t - 1) == kWhite) << "desk colour";
        EXPECT_NE(at(10, t - 1), kSilver);

        // Raised buttons and sunken fields are drawn exactly in their
        // described rectangles: light outer edge top-left, dark bottom-right.
        int checked = 0;
        for (const DemoControl &control : demo.layout.controls) {
            const QRect r = control.rect;
            if (control.kind == DemoKind::CommandButton) {
                EXPECT_EQ(at(r.left(), r.top()), kWhite) << control.name.toStdString();
                EXPECT_EQ(at(r.right(), r.bottom()), 0xFF404040u) << control.name.toStdString();
                EXPECT_NE(at(r.left() - 1, r.top()), kWhite);
                ++checked;
            } else if (control.kind == DemoKind::Field || control.kind == DemoKind::Combo) {
                EXPECT_EQ(at(r.left(), r.top()), 0xFF78828Cu) << control.name.toStdString();
                EXPECT_EQ(at(r.right(), r.bottom()), kWhite) << control.name.toStdString();
                EXPECT_NE(at(r.right() + 1, r.bottom()), kWhite);
                ++checked;
            }
        }
        EXPECT_GE(checked, 8);
    }
}

TEST(DemoVisualisation, HelpPagesLinkOnlyToWhatExists)
{
    TempFolder folder;
    const DemoVisualisation demo = build(folder, 800);
    const QString help = demo.visuFolder + QStringLiteral("/Program/Help/Tavlin");
    const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    int external = 0;
    int links = 0;
    for (const QString &language : demoHelpLanguages()) {
        const QDir dir(help + QLatin1Char('/') + language);
        EXPECT_EQ(dir.entryList(QDir::Files).size(), demoHelpTopics().size());
        for (const QString &topic : demoHelpTopics()) {
            SCOPED_TRACE((language + QLatin1Char('/') + topic).toStdString());
            const QString html
                = QString::fromUtf8(readAll(dir.filePath(topic + QStringLiteral(".html"))));
            ASSERT_FALSE(html.isEmpty());
            EXPECT_TRUE(html.contains(language == QLatin1String("Deutsch")
                    ? QStringLiteral("lang=\"de\"")
                    : QStringLiteral("lang=\"en\"")));
            EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
            EXPECT_GT(html.indexOf(QStringLiteral("<p>")), 0) << "real text";
            for (auto it = reference.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                if (target.startsWith(QLatin1String("https:"))) {
                    EXPECT_EQ(target, demoExternalLink());
                    ++external;
                    continue;
                }
                ++links;
                EXPECT_TRUE(QFileInfo::exists(dir.filePath(target))) << target.toStdString();
                if (target.endsWith(QLatin1String(".png"))) {
                    EXPECT_FALSE(QImage(dir.filePath(target)).isNull()) << target.toStdString();
                }
            }
        }
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(demoMissingTopic() + QStringLiteral(".html"))));
    }
    EXPECT_EQ(external, 2) << "one external link, in each language";
    EXPECT_GT(links, 4 * demoHelpTopics().size());
    // The two languages say different things.
    EXPECT_NE(readAll(help + QStringLiteral("/Deutsch/Pumpe.html")),
        readAll(help + QStringLiteral("/English/Pumpe.html")));
}

TEST(DemoVisualisation, FoldersLinksAndFailures)
{
    TempFolder folder;
    DemoVisualisation demo = build(folder, 1280);
    EXPECT_EQ(demo.winePrefix, folder.path() + QStringLiteral("/demo/wine"));
    EXPECT_EQ(demo.tempVisu, QStringLiteral("C:\\Temp"));
    const QFileInfo link(demo.winePrefix + QStringLiteral("/dosdevices/c:"));
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(link.canonicalFilePath(),
        QFileInfo(folder.path() + QStringLiteral("/demo/drive_c")).canonicalFilePath());

    // Again into the same folder, now for 800: replaces what was there.
    demo = build(folder, 800);
    EnvironmentGuard wine("WINEPREFIX");
    wine.set(demo.winePrefix);
    EXPECT_TRUE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\TavlinScreen.bmp")));
    EXPECT_EQ(
        QImage(mapWindowsPath(QStringLiteral("C:\\Temp\\Kestrel\\TavlinScreen.bmp"))).width(), 800);

    // The whole tree moves with its root: the drive link is relative.
    const QString moved = folder.path() + QStringLiteral("/moved");
    ASSERT_TRUE(QDir().rename(folder.path() + QStringLiteral("/demo"), moved));
    wine.set(moved + QStringLiteral("/wine"));
    EXPECT_TRUE(Dir(QStringLiteral("C:\\Temp\\Kestrel\\Tavlin.txt")));

    DemoOptions options;
    options.root = folder.path() + QStringLiteral("/other");
    options.displayWidth = 1024;
    QString error;
    EXPECT_FALSE(buildDemoVisualisation(options, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("1024")));
    options.displayWidth = 1280;
    options.root = folder.write(QStringLiteral("a-file"), "x") + QStringLiteral("/below");
    EXPECT_FALSE(buildDemoVisualisation(options, nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(DemoVisualisation, BitmapRowsArePaddedAndBottomUp)
{
    QImage image(3, 2, QImage::Format_RGB32);
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, qRgb(40 * i + 1, 255 - 30 * i, 7 * i));
    const QByteArray bmp = encodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54 + 2 * 12); // 9 bytes a row, padded to 12
    const QImage back = QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), image.size());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
    EXPECT_TRUE(encodeBmp24(QImage()).isEmpty());
}

TEST(DemoVisualisation, ProgramPrintsTheEnvironment)
{
    TempFolder folder;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    const QString program = QStringLiteral(TAVLIN_BINARY_DIR "/bin/tavlin-demo-visu");
    process.start(program,
        { QStringLiteral("--800"), QStringLiteral("--print-env"),
            folder.path() + QStringLiteral("/d") });
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    EXPECT_EQ(out,
        QStringLiteral("export WINEPREFIX='%1/d/wine'\nexport TEMPVISU='C:\\Temp'\n")
            .arg(folder.path()));
    EXPECT_EQ(
        QImage(folder.path() + QStringLiteral("/d/drive_c/Temp/Kestrel/TavlinScreen.bmp")).size(),
        QSize(800, 600));

    process.start(program, { QStringLiteral("--bogus") });
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("Usage"));
}
