// One dimming pass (blend, footer button from disk, copy to the form) against
// a plain memcpy of the same screen buffer, at 800 x 600 and 1280 x 1024. The
// ratio is printed at the end; the goal is at most 4 at 1280 x 1024.

#include "BenchScene.h"

#include "overlay/Dimming.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {

void BM_Memcpy(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    QImage from(w, h, QImage::Format_RGB32);
    QImage to(w, h, QImage::Format_RGB32);
    from.fill(qRgb(1, 2, 3));
    to.fill(0);
    for (auto _ : state) {
        std::memcpy(to.bits(), from.constBits(), size_t(from.sizeInBytes()));
        benchmark::DoNotOptimize(to.bits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * from.sizeInBytes());
}

void BM_DimScreen(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    bench::Scene scene(w, h);
    auto form = scene.makeDimmingForm();
    qint16 level = 105;
    for (auto _ : state) {
        DimScreen(*form, level);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Memcpy)->Args({ 800, 600 })->Args({ 1280, 1024 })->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DimScreen)->Args({ 800, 600 })->Args({ 1280, 1024 })->Unit(benchmark::kMicrosecond);

// Prints each size's DimScreen time over its memcpy time after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            const std::string kind = name.substr(0, slash);
            const std::string size = name.substr(slash + 1);
            m_times[size][kind] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[size, times] : m_times) {
            const auto copy = times.find("BM_Memcpy");
            const auto dim = times.find("BM_DimScreen");
            if (copy != times.end() && dim != times.end() && copy->second > 0)
                std::printf("DimScreen / memcpy at %s: %.2f (%.0f us against %.0f us)\n", size.c_str(),
                            dim->second / copy->second, dim->second, copy->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return bench::runWithApplication(argc, argv, &reporter);
}
