// Soak: two hundred title-and-round cycles in one process, frames stepped without pacing,
// with the real art. Each cycle builds and destroys what the screens own (twenty map
// images each time), so a leak per cycle shows as resident memory that keeps growing.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kCycles = 200;
constexpr int kWarmUpCycles = 20;   // the allocator settles during these
constexpr int kTitleFrames = 5;
constexpr int kRoundFrames = 40;
// One map image is 460 KB: a leak of one a cycle would add about 80 MB.
constexpr long kAllowedGrowthKb = 2048;

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Keys for frame i: boost now and then, the arrows in turn.
void PushKeysFor(int frame) {
    static const SDLKey arrows[] = {SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_LEFT};
    if (frame % 10 == 0) PushKey(SDL_KEYDOWN, arrows[(frame / 10) % 4]);
    if (frame % 10 == 5) PushKey(SDL_KEYUP, arrows[(frame / 10) % 4]);
    if (frame == 20) PushKey(SDL_KEYDOWN, SDLK_SPACE);
    if (frame == 30) PushKey(SDL_KEYUP, SDLK_SPACE);
}

void Cycle(Game& game, int cycle) {
    game.GameInit();
    {
        TitleScene title;
        game.started = 0;
        for (int i = 0; i < kTitleFrames; ++i) game.TitleFrame(title);
        PushKey(SDL_KEYDOWN, cycle % 2 ? SDLK_b : SDLK_a);
        game.TitleFrame(title);
    }
    Round round;
    int showTitle = 0;
    for (int i = 0; i < kRoundFrames; ++i) {
        PushKeysFor(i);
        game.RoundFrame(round, &showTitle);
    }
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    game.RoundFrame(round, &showTitle);
}

}  // namespace

TEST(Soak, TwoHundredTitleAndRoundCyclesDoNotGrowResidentMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer holds freed memory back; LeakSanitizer checks leaks there";
#endif
    ScratchDir dir;
    ASSERT_EQ(symlink(COMET_BUILD_DIR "/image", "image"), 0);
    setenv("SDL_VIDEODRIVER", "dummy", 1);

    // Two hundred cycles print thousands of load lines: keep them off the test's output.
    std::fflush(stdout);
    const int console = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);

    long warmKb = 0, lastKb = 0;
    int played = 0;
    {
        Game game;
        ASSERT_TRUE(game.Ready());
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            Cycle(game, cycle);
            if (game.quit) ++played;  // Escape ended the round and saved
            if (cycle + 1 == kWarmUpCycles) warmKb = ResidentKb();
        }
        lastKb = ResidentKb();
    }

    std::fflush(stdout);
    dup2(console, 1);
    close(console);
    close(null);

    EXPECT_EQ(played, kCycles);
    EXPECT_TRUE(std::regex_match(dir.Read("Rec.dat"), std::regex("[0-9]+\n[0-9]+\n")))
        << "every round saved; the file is whole: " << dir.Read("Rec.dat");
    std::printf("resident memory after %d cycles: %ld KB, after %d: %ld KB (growth %ld KB)\n",
                kWarmUpCycles, warmKb, kCycles, lastKb, lastKb - warmKb);
    EXPECT_LT(lastKb - warmKb, kAllowedGrowthKb);
}
