// tavlin-demo-visu: lays out a demo visualisation (screenshot, description,
// footer button images, help pages, language table) for trying Tavlin
// without a real machine.

#include "demovisu/DemoVisualisation.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

namespace {

const char kUsage[] = R"(Usage: tavlin-demo-visu [--800] [--language N] [--print-env] FOLDER

Lays out a complete demo visualisation in FOLDER, as a visualisation leaves
things before it starts Tavlin. Paths follow a Windows layout mapped through a
Wine-style drive link, so that Tavlin finds everything by its Windows paths:

  FOLDER/drive_c/Temp/Kestrel/TavlinScreen.bmp   screenshot of the operator screen
  FOLDER/drive_c/Temp/Kestrel/Tavlin.txt         description of its controls
  FOLDER/drive_c/Kalvo/                          installation folder (VisuPfad=C:\Kalvo\)
      Standard/KalvoFußzeile/KalvoFußzeileHelp_800.gif, ..._1280.gif
      Program/Help/Tavlin/Deutsch/*.html, English/*.html
      Program/Tools/Languages.mdb                language table (Jet 4)
  FOLDER/wine/dosdevices/c:  ->  ../../drive_c   drive C: for Tavlin's path mapping

Then start Tavlin with
  WINEPREFIX=FOLDER/wine TEMPVISU='C:\Temp' tavlin

Options:
  --800          an 800 x 600 screen instead of 1280 x 1024
  --language N   the operator's language number written into the description;
                 default 2. Help pages exist for 1 (Deutsch) and 2 (English);
                 the language table also names 3 Français, 4 Español, 5 Polski
                 and 7 Čeština, whose page folders are missing; a number without
                 a row falls back to English
  --print-env    print only the two shell assignments (export WINEPREFIX=...,
                 export TEMPVISU=...), for eval in scripts
  --help         this text
)";

QString shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs fonts but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    DemoOptions options;
    bool printEnvironment = false;
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == QLatin1String("--800")) {
            options.displayWidth = 800;
        } else if (argument == QLatin1String("--1280")) {
            options.displayWidth = 1280;
        } else if (argument == QLatin1String("--print-env")) {
            printEnvironment = true;
        } else if (argument == QLatin1String("--language") && i + 1 < arguments.size()) {
            bool ok = false;
            options.language = arguments.at(++i).toInt(&ok);
            if (!ok || options.language < -32768 || options.language > 32767) {
                std::fprintf(stderr, "tavlin-demo-visu: --language takes a number\n");
                return 2;
            }
        } else if (!argument.startsWith(QLatin1String("-")) && options.root.isEmpty()) {
            options.root = argument;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (options.root.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    DemoVisualisation demo;
    QString error;
    if (!buildDemoVisualisation(options, &demo, &error)) {
        std::fprintf(stderr, "tavlin-demo-visu: %s\n", qPrintable(error));
        return 1;
    }
    const QString env = QStringLiteral("export WINEPREFIX=%1\nexport TEMPVISU=%2\n")
                            .arg(shellQuoted(demo.winePrefix), shellQuoted(demo.tempVisu));
    if (printEnvironment) {
        std::fputs(env.toLocal8Bit().constData(), stdout);
        return 0;
    }
    std::printf("Demo visualisation for %d x %d pixels:\n", demo.layout.width, demo.layout.height);
    std::printf("  screenshot and description  %s\n", qPrintable(demo.tempFolder));
    std::printf("  installation folder         %s (VisuPfad=%s)\n", qPrintable(demo.visuFolder),
        qPrintable(demo.visuPfad));
    std::printf("Start Tavlin with this environment:\n%s", env.toLocal8Bit().constData());
    return 0;
}
