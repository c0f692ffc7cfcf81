// One dimming pass (blend, footer button, copy to the form) against a plain
// memcpy of the same screen buffer, and the plain QPainter way to the same
// dimmed picture, at 800 x 600 and 1280 x 1024. The ratio of
// the medians of five runs is printed at the end (flags given override the
// five); the goal is at most 2 at 1280 x 1024.

#include "BenchScene.h"

#include "overlay/Dimming.h"
#include "raster/Blit.h"

#include <QPainter>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

// The plain copy of the screenshot buffer into the dimming buffer (before a
// pass makes the buffer part of the form's image): as much read and written
// as in a dimming pass.
void BM_Memcpy(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    bench::Scene scene(w, h);
    auto form = scene.makeDimmingForm();
    const QImage &from = form->OriginalPic->image();
    uchar *to = form->DunkelPic->hDC().image->bits();
    const size_t bytes = size_t(from.sizeInBytes());
    if (form->DunkelPic->image().sizeInBytes() != from.sizeInBytes()) {
        state.SkipWithError("buffers of different sizes");
        return;
    }
    for (auto _ : state) {
        std::memcpy(to, from.constBits(), bytes);
        benchmark::DoNotOptimize(to);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
}

void BM_DimScreen(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    bench::Scene scene(w, h);
    auto form = scene.makeDimmingForm();
    qint16 level = 105;
    for (auto _ : state) {
        // On a cleared buffer, as every pass of the overlay build runs; the
        // clear is not timed (timed by hand: pausing the benchmark's own
        // clocks costs more than a small screen's pass).
        form->DunkelPic->Cls();
        benchmark::ClobberMemory();
        const auto start = std::chrono::steady_clock::now();
        DimScreen(*form, level);
        benchmark::ClobberMemory();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

// The blend alone, over a destination it reads, to tell its share of a pass
// from the footer button.
void BM_AlphaBlend(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    bench::Scene scene(w, h);
    auto form = scene.makeDimmingForm();
    const DeviceContext buffer = form->DunkelPic->hDC();
    const DeviceContext original = form->OriginalPic->hDC();
    for (auto _ : state) {
        AlphaBlend(buffer, 0, 0, w, h, original, 0, 0, w, h, 105);
        benchmark::ClobberMemory();
    }
}

// The plain Qt way to the same picture, for comparison: the screenshot drawn
// with the level as opacity over a black buffer by QPainter.
void BM_QPainter(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    bench::Scene scene(w, h);
    auto form = scene.makeDimmingForm();
    const QImage &original = form->OriginalPic->image();
    QImage buffer(original.size(), original.format());
    for (auto _ : state) {
        buffer.fill(Qt::black); // not timed, as the pass's own clear
        benchmark::ClobberMemory();
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&buffer);
        painter.setOpacity(105 / 255.0);
        painter.drawImage(0, 0, original);
        painter.end();
        benchmark::ClobberMemory();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

BENCHMARK(BM_Memcpy)->Args({ 800, 600 })->Args({ 1280, 1024 })->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlphaBlend)->Args({ 800, 600 })->Args({ 1280, 1024 })->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPainter)
    ->Args({ 800, 600 })
    ->Args({ 1280, 1024 })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DimScreen)
    ->Args({ 800, 600 })
    ->Args({ 1280, 1024 })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// Prints each size's DimScreen time over its memcpy time after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // The median when repetitions are asked for, else the single run.
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            const std::string name = run.run_name.function_name;
            const std::string size = run.run_name.args;
            if (median || m_times[size].count(name) == 0 || run.repetitions <= 1)
                m_times[size][name] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[size, times] : m_times) {
            const auto copy = times.find("BM_Memcpy");
            if (copy == times.end() || copy->second <= 0)
                continue;
            for (const std::string name : { "AlphaBlend", "QPainter", "DimScreen" }) {
                const auto other = times.find("BM_" + name);
                if (other != times.end())
                    std::printf("%s / memcpy at %s: %.2f (%.0f us against %.0f us)\n", name.c_str(),
                        size.c_str(), other->second / copy->second, other->second, copy->second);
            }
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    // One run of a few hundred microseconds is at the mercy of whatever else
    // the machine does meanwhile; the median of five is not.
    std::vector<char *> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, { repetitions, aggregatesOnly });
    int count = int(args.size());
    RatioReporter reporter;
    return bench::runWithApplication(count, args.data(), &reporter);
}
