// Bench main: runs every benchmark headless, in the build folder that holds the
// generated image/, with the one Game they share.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "BenchSupport.h"

namespace bench {

Game& SharedGame() {
    static Game game;
    return game;
}

}  // namespace bench

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(COMET_BUILD_DIR) != 0) {
        std::perror(COMET_BUILD_DIR);
        return 1;
    }
    if (!bench::SharedGame().Ready()) {
        std::fputs("no display surface or no sprite sheet: build the art first\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
