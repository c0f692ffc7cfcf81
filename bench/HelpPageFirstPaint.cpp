// The help page at the operator's touch, seen from outside: the real program
// on a demo visualisation of 1280 x 1024, a real click on a help symbol (via
// xdotool), then the screen read until the page shows in the help window. The
// first and the second page of a run are set against a bare browser view
// (bench_BareBrowserView) started in a fresh process, from its start until
// the same page shows, watched the same way. Also reported: the memory of the
// program with its engine processes (proportional set size) before the first
// click and with the page open.
// Run under a display of 1280 x 1024:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_HelpPageFirstPaint
//
// Each iteration of the program waits 3 s on the overlay after its fade, as
// an operator would, before the first click.
#include "demovisu/DemoProgram.h"
#include "demovisu/ScreenDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

constexpr QRgb kRed = 0xFFFF0000u;
const char kPage[] = "<html><body style=\"background:#ff0000\"><h1>Conveyor</h1><p>The "
                     "conveyor moves the parts from the press to the stacker.</p></body></html>";
const QString kBuilt = QFileInfo(QStringLiteral(TAVLIN_PROGRAM)).path();

DemoProgram *g_demo = nullptr;
QString g_page; // the page's file, for the bare view
QPoint g_symbol; // where its symbol is clicked

// Milliseconds since `timer` started until the screen is red at `at` (the
// page's middle), or -1 after 20 s.
double untilRed(const QElapsedTimer &timer, QPoint at)
{
    while (timer.elapsed() < 20000)
        if (grabScreen(at, QSize(1, 1)).pixel(0, 0) == kRed)
            return timer.nsecsElapsed() / 1e6;
    return -1;
}

// Whether the screen at `at` is no longer red within 20 s.
bool redGone(QPoint at)
{
    return waitUntil([&] { return grabScreen(at, QSize(1, 1)).pixel(0, 0) != kRed; }, 20000);
}

double g_bareMs = 0; // the bare view's mean, once measured

void BM_BareBrowserView(benchmark::State &state)
{
    // At the help window's place and size (bench/BareBrowserView.cpp).
    const QPoint middle(200 + 615 / 2, 200 + 461 / 2);
    double total = 0;
    for (auto _ : state) {
        if (!redGone(middle))
            return state.SkipWithError("the last view stays");
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(kBuilt + "/bench_BareBrowserView", { g_page });
        const double painted = untilRed(timer, middle);
        child.kill();
        child.waitForFinished(20000);
        if (painted < 0)
            return state.SkipWithError("the bare view did not show its page");
        state.SetIterationTime(painted / 1000);
        total += painted;
    }
    g_bareMs = total / double(state.iterations());
}

void BM_HelpPageFirstPaint(benchmark::State &state)
{
    const QPoint middle(640, 512); // the help window is centred on the screen
    const QPoint cross = middle + QPoint(qRound(1280 / 2.6) - 36, qRound(1024 / 2.6) - 36);
    double first = 0, second = 0, before = 0, open = 0;
    for (auto _ : state) {
        DemoProgram &program = *g_demo;
        if (!program.start() || !program.showsOverlay(30000))
            return state.SkipWithError("no overlay");
        QTest::qWait(3000);
        before += processTreeMemoryMb(program.process.processId());
        double times[2];
        for (double &time : times) {
            // From before xdotool starts: its own start (a few milliseconds) counts.
            QElapsedTimer timer;
            timer.start();
            pointer(g_symbol, "click");
            time = untilRed(timer, middle);
            if (time < 0)
                return state.SkipWithError("the page did not show");
            if (&time == times)
                open += processTreeMemoryMb(program.process.processId());
            pointer(cross, "click");
            if (!redGone(middle))
                return state.SkipWithError("the help window stays");
            QTest::qWait(500);
        }
        pointer(program.footerButton(), "mousedown");
        program.showsButtonLook(true);
        pointer(program.footerButton(), "mouseup");
        if (!program.endsWithStatusZero(10000))
            return state.SkipWithError("the footer button did not end the program");
        state.SetIterationTime(times[0] / 1000);
        first += times[0];
        second += times[1];
    }
    const double n = double(state.iterations());
    state.counters["second_click_ms"] = second / n;
    state.counters["memory_before_click_MB"] = before / n;
    state.counters["memory_page_open_MB"] = open / n;
    if (g_bareMs > 0) {
        state.counters["first_vs_bare"] = first / n / g_bareMs;
        state.counters["second_vs_bare"] = second / n / g_bareMs;
    }
}

BENCHMARK(BM_BareBrowserView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_HelpPageFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv); // the demo's screen is drawn with fonts
    DemoProgram demo(kBuilt, 1280, 96, 2);
    g_symbol = demo.writePage(QStringLiteral("English"), kPage, &g_page);
    if (demo.expected.isNull() || g_symbol.x() < 0) {
        std::fprintf(stderr, "no demo visualisation\n");
        return 1;
    }
    g_demo = &demo;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
