// tavlin-check: the help author's check of a visualisation's help set, and a
// preview of the overlay as the operator will see it.

#include "check/HelpCheck.h"
#include "check/IgnoreFile.h"
#include "check/LanguageListing.h"
#include "check/Preview.h"
#include "check/ReportFormats.h"
#include "check/ReportOutput.h"
#include "os/RealServices.h"
#include "overlay/MainForm.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryFile>
#include <cstdio>

namespace {

const char kUsage[] = R"(Usage: tavlin-check [--temp DIR] [--visu DIR] [--language N]
                    [--format text|json|sarif|junit] [--werror]
                    [--preview FILE.png]
       tavlin-check --languages [--temp DIR | --visu DIR] [--json]

Checks what Tavlin will read, with Tavlin's own code: the description
Tavlin.txt and the screenshot TavlinScreen.bmp (in TEMPVISU's Kestrel folder,
as Tavlin finds them), the symbol placement, the language table, the footer
button image and the help pages of every language, with their links,
pictures, style sheets, scripts and frames.

  --temp DIR        the folder holding Tavlin.txt (or a TEMPVISU root whose
                    Kestrel folder holds it) instead of TEMPVISU
  --visu DIR        the installation folder instead of the description's VisuPfad
  --language N      check only language number N (as in the language table)
  --format F        write the findings as F: text (the readable report, the
                    default), json, sarif (SARIF 2.1.0, for code scanning and
                    editors) or junit (JUnit XML, for a CI's test report)
  --json            the same as --format json
  --werror          warnings count as errors: exit status 1
  --preview FILE    also draw the overlay as the operator sees it into a PNG,
                    each entry with a finding outlined and numbered
  --languages       print the language table as the overlay reads it, one row
                    a line (number and name), instead of the check; the
                    installation folder is --visu, else the description's
                    VisuPfad. Exit status 0 when the overlay can use the table,
                    1 when it shows every page in English
  --help            this text

Findings can be left out with the file .tavlin-check-ignore in the help
folder (Program\Help\Tavlin\): one rule a line, a finding kind ("*" for any)
and a pattern for the file as the overlay writes it ("*" and "?" as
wildcards; none: any file), for example "page-unreachable *\Deutsch\Alt*".
A rule that leaves out no finding is reported (ignore-unused).

Exit status: 0 nothing found, 1 errors, 2 warnings only, 3 the check could
not run (the reason on stderr), 4 wrong arguments.
)";

int fail(const QString &message, int status)
{
    std::fprintf(stderr, "tavlin-check: %s\n", qPrintable(message));
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    // The check never shows a window. Its screen is the largest a description
    // names, at 96 dots per inch (15 twips per pixel): the overlay paints only
    // what lies on the screen, and the preview must show all of it.
    QTemporaryFile screens;
    if (screens.open()) {
        screens.write(R"({"screens": [{"name": "panel", "x": 0, "y": 0, "width": 1280,
            "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    CheckOptions options;
    QString previewFile;
    QString format = QStringLiteral("text");
    bool werror = false;
    bool languages = false;
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == QLatin1String("--json")) {
            format = QStringLiteral("json");
        } else if (argument == QLatin1String("--format") && hasValue) {
            format = arguments.at(++i);
            if (!QStringList { "text", "json", "sarif", "junit" }.contains(format))
                return fail(QStringLiteral("--format takes text, json, sarif or junit"), 4);
        } else if (argument == QLatin1String("--werror")) {
            werror = true;
        } else if (argument == QLatin1String("--languages")) {
            languages = true;
        } else if (argument == QLatin1String("--temp") && hasValue) {
            options.tempFolder = arguments.at(++i);
        } else if (argument == QLatin1String("--visu") && hasValue) {
            options.visuFolder = arguments.at(++i);
        } else if (argument == QLatin1String("--preview") && hasValue) {
            previewFile = arguments.at(++i);
        } else if (argument == QLatin1String("--language") && hasValue) {
            bool ok = false;
            const int number = arguments.at(++i).toInt(&ok);
            if (!ok || number < -32768 || number > 32767)
                return fail(QStringLiteral("--language takes a number"), 4);
            options.language = qint16(number);
        } else {
            std::fputs(kUsage, stderr);
            return 4;
        }
    }
    options.buildOverlay = !previewFile.isEmpty();
    if (languages) {
        try {
            const LanguageListing listing = readLanguageListing(options);
            std::fputs(format == QLatin1String("json")
                    ? languageListingJson(listing).constData()
                    : languageListingText(listing).toUtf8().constData(),
                stdout);
            return languageListingExitStatus(listing);
        } catch (const CheckFailed &failure) {
            return fail(failure.message, 3);
        }
    }

    const RealServices real;
    CheckedOverlay overlay;
    CheckReport report;
    try {
        report = runCheck(options, overlay, real.services());
    } catch (const CheckFailed &failure) {
        return fail(failure.message, 3);
    }

    applyIgnoreFile(report, overlay.context.VisuPfad);
    const QByteArray output = format == QLatin1String("json") ? reportJson(report)
        : format == QLatin1String("sarif")                    ? reportSarif(report)
        : format == QLatin1String("junit")                    ? reportJunit(report, werror)
                                                              : reportText(report).toUtf8();
    std::fputs(output.constData(), stdout);
    std::fflush(stdout);

    if (!previewFile.isEmpty()) {
        if (!overlay.screenshot || !overlay.placed)
            return fail(QStringLiteral("no preview: the overlay cannot be built without a "
                                       "readable screenshot and a display width of 800 or 1280"),
                3);
        if (!renderPreview(*overlay.form, report).save(previewFile, "PNG"))
            return fail(QStringLiteral("cannot write the preview %1").arg(previewFile), 3);
    }
    return report.exitStatus(werror);
}
