// How long after its start a program shows a full-screen overlay, with and
// without the browser engine linked in and registered. Run under a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_OverlayStart
//
// Each iteration starts a fresh process and waits for it to report the first
// paint of its full-screen window. "plain" knows no browser engine; "engine"
// prepares and registers the engine plugin as the real program does.
#include "OverlayStandIn.h"
#include "browser/BrowserEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

QString g_self;

void BM_OverlayAppears(benchmark::State &state, const char *which)
{
    if (std::strcmp(which, "plain") != 0
        && !QFileInfo::exists(
            QFileInfo(g_self).absolutePath() + QStringLiteral("/libtavlin_webengine.so"))) {
        state.SkipWithError("engine plugin not built");
        return;
    }
    for (auto _ : state) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(g_self, { QStringLiteral("--overlay-child"), QString::fromLatin1(which) });
        bool painted = false;
        while (!painted && child.waitForReadyRead(20000))
            painted = child.readAll().contains("painted");
        const double seconds = timer.nsecsElapsed() / 1e9;
        child.waitForFinished(20000);
        if (!painted) {
            state.SkipWithError("the child reported no paint");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

BENCHMARK_CAPTURE(BM_OverlayAppears, plain, "plain")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK_CAPTURE(BM_OverlayAppears, engine, "engine")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--overlay-child") == 0) {
        const bool engine = std::strcmp(argv[2], "plain") != 0;
        return runOverlayStandIn(
            argc, argv,
            [engine] {
                if (engine)
                    prepareBrowserEngine();
            },
            [engine] {
                if (engine)
                    useBrowserEngine(); // the factory is not needed: no page opens
            });
    }
    g_self = QString::fromLocal8Bit(argv[0]);
    g_self = QFileInfo(g_self).absoluteFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
