// Map benchmark: building a Map reads the list and loads all twenty images, at every
// title screen and every round.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"

namespace {

bool AllImagesLoaded(const Map& map) {
    for (const SDL_Surface* image : map.mapImage)
        if (!image) return false;
    return true;
}

// Only the construction is timed; freeing the images is left out.
void BM_MapLoad(benchmark::State& state) {
    bench::SharedGame();  // the display surface the images are converted for
    for (auto _ : state) {
        auto map = std::make_unique<Map>();
        state.PauseTiming();
        const bool complete = AllImagesLoaded(*map);
        map.reset();
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("a map image failed to load");
            break;
        }
    }
}
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);

}  // namespace
