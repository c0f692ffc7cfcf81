// How long after its start a program shows a full-screen overlay, with and
// without the browser engine linked in and registered. Run under a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_OverlayStart
//
// Each iteration starts a fresh process and waits for it to report the first
// paint of its full-screen window. "plain" is this program, which does not
// link the engine; "engine" is bench_WebEngineHelpPage in the same mode,
// which links it, prepares it and registers it, as the real program does, and
// warms it up once the window is painted.
#include "OverlayStandIn.h"

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
    const QString program = std::strcmp(which, "plain") == 0
        ? g_self
        : QFileInfo(g_self).absolutePath() + QStringLiteral("/bench_WebEngineHelpPage");
    if (!QFileInfo(program).isExecutable()) {
        state.SkipWithError("program not built");
        return;
    }
    for (auto _ : state) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(program, { QStringLiteral("--overlay-child") });
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

BENCHMARK_CAPTURE(BM_OverlayAppears, plain, "plain")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_OverlayAppears, engine, "engine")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--overlay-child") == 0)
        return runOverlayStandIn(argc, argv, nullptr, nullptr);
    g_self = QString::fromLocal8Bit(argv[0]);
    g_self = QFileInfo(g_self).absoluteFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
