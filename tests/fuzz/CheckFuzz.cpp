// Arbitrary bytes as the description of the demo visualisation, checked as tavlin-check checks
// it: the check ends (libFuzzer's time limit catches a hang), with a report or with "the check
// could not run" (exit status 0 to 3), never with anything else.
#include "check/HelpCheck.h"
#include "demovisu/DemoVisualisation.h"
#include "overlay/MainForm.h"
#include "support/FakeServices.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <cstdint>
#include <cstdlib>

namespace {

QApplication *g_app = nullptr;
TempFolder *g_folder = nullptr;
DemoVisualisation g_demo;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_CheckFuzz";
    static char *argv[] = { name, nullptr };
    g_app = new QApplication(argc, argv);
    g_folder = new TempFolder;
    QString error;
    if (!buildDemoVisualisation(
            { g_folder->path() + QStringLiteral("/demo"), 1280 }, &g_demo, &error))
        std::abort();
    qputenv("WINEPREFIX", QFile::encodeName(g_demo.winePrefix));
    qputenv("TEMPVISU", g_demo.tempVisu.toUtf8());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    g_folder->write(QStringLiteral("demo/drive_c/Temp/Kestrel/Tavlin.txt"),
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    FakeServices fake;
    CheckedOverlay overlay;
    try {
        const int status = runCheck({}, overlay, fake.services()).exitStatus();
        if (status < 0 || status > 2)
            std::abort();
    } catch (const CheckFailed &) {
        // Exit status 3: the reason on stderr.
    }
    return 0;
}
