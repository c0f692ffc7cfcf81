// The whole overlay build (sizing, probe, fade of 15 steps with their repaints,
// a dozen symbols) with the fade's pauses taken out.

#include "BenchScene.h"

#include "overlay/OverlayBuild.h"

namespace {

void BM_BuildOverlay(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    bench::Scene scene(w, h);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = scene.makeForm(12);
        state.ResumeTiming();
        BuildOverlay(*form);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_BuildOverlay)->Args({ 800, 600 })->Args({ 1280, 1024 })->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWithApplication(argc, argv);
}
