// The help author's check on a large help set: 1000 entries with pages in 6
// languages, without the preview, then with it, against the overlay's own
// start-up on the same visualisation (fade pauses taken out).

#include "BenchScene.h"
#include "overlay/OverlayStartup.h"

#include "check/HelpCheck.h"
#include "check/Preview.h"
#include "demovisu/LanguageTable.h"

#include <QFile>

namespace {

constexpr int kEntries = 1000;

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// Description, screenshot, footer image, language table and 6 x 1000 pages,
// each with a style sheet, a picture and a link to the next page.
class HelpSet
{
public:
    HelpSet()
    {
        const QString visu = m_dir.path() + QStringLiteral("/visu/");
        QDir().mkpath(m_dir.path() + QStringLiteral("/Kestrel"));
        QDir().mkpath(visu + QStringLiteral("Standard/KalvoFußzeile"));
        QDir().mkpath(visu + QStringLiteral("Program/Tools"));
        QImage screen(1280, 1024, QImage::Format_RGB32);
        screen.fill(qRgb(90, 110, 130));
        screen.save(m_dir.path() + QStringLiteral("/Kestrel/TavlinScreen.bmp"), "BMP");
        QImage button(60, 60, QImage::Format_RGB32);
        button.fill(qRgb(200, 200, 200));
        button.save(
            visu + QStringLiteral("Standard/KalvoFußzeile/KalvoFußzeileHelp_1280.gif"), "PNG");
        QString error;
        writeDemoLanguageTable(visu + QStringLiteral("Program/Tools/Languages.mdb"), &error);

        QByteArray text
            = "[Global]\r\nDispHInt=1280\r\nVisuPfad=" + visu.toLocal8Bit() + "\r\nLanguage=2\r\n";
        for (int i = 0; i < kEntries; ++i)
            text += QStringLiteral("[%1]\r\nName=Control%1\r\nTag=Page%1\r\nAlignment=4\r\n"
                                   "Left=%2\r\nTop=%3\r\nWidth=450\r\nHeight=300\r\n")
                        .arg(i)
                        .arg(300 + (i % 40) * 465)
                        .arg(900 + (i / 40) * 540)
                        .toLatin1();
        write(m_dir.path() + QStringLiteral("/Kestrel/Tavlin.txt"), text);

        const QString help = visu + QStringLiteral("Program/Help/Tavlin/");
        write(help + QStringLiteral("help.css"), "body { font-family: sans-serif; }");
        write(help + QStringLiteral("Bilder/mark.png"), "png");
        for (const char *language :
            { "Deutsch", "English", "Français", "Español", "Polski", "Čeština" }) {
            for (int i = 0; i < kEntries; ++i)
                write(help + QString::fromUtf8(language) + QStringLiteral("/Page%1.html").arg(i),
                    QStringLiteral("<html><head><link rel=\"stylesheet\" href=\"../help.css\">"
                                   "</head><body><img src=\"../Bilder/mark.png\">\n<p>Page %1, "
                                   "see <a href=\"Page%2.html\">the next</a>.</p></body></html>")
                        .arg(i)
                        .arg((i + 1) % kEntries)
                        .toUtf8());
        }
    }

    QString root() const { return m_dir.path(); }
    QString tempFolder() const { return m_dir.path() + QStringLiteral("/Kestrel"); }

private:
    QTemporaryDir m_dir;
};

HelpSet &helpSet()
{
    static HelpSet set;
    return set;
}

void BM_CheckWithoutPreview(benchmark::State &state)
{
    const RealServices real;
    CheckOptions options;
    options.tempFolder = helpSet().tempFolder();
    for (auto _ : state) {
        CheckedOverlay overlay;
        const CheckReport report = runCheck(options, overlay, real.services());
        state.counters["pages"] = report.pagesChecked;
        state.counters["languages"] = double(report.languages.size());
    }
}

void BM_CheckWithPreview(benchmark::State &state)
{
    const RealServices real;
    CheckOptions options;
    options.tempFolder = helpSet().tempFolder();
    options.buildOverlay = true;
    for (auto _ : state) {
        CheckedOverlay overlay;
        const CheckReport report = runCheck(options, overlay, real.services());
        benchmark::DoNotOptimize(renderPreview(*overlay.form, report));
    }
}

// The overlay's own start-up on the same files: reading, build with the fade's
// passes, the 1000 symbols, the language.
void BM_OverlayStartUp(benchmark::State &state)
{
    const bench::QuietServices quiet;
    qputenv("TEMPVISU", QFile::encodeName(helpSet().root()));
    for (auto _ : state) {
        MainForm form(quiet.services());
        benchmark::DoNotOptimize(loadMain(form));
    }
}

BENCHMARK(BM_CheckWithoutPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckWithPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverlayStartUp)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWithApplication(argc, argv);
}
