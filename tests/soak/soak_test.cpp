// Soak: two hundred title-and-round cycles in one process, frames stepped without pacing,
// with the real art. Each cycle builds and destroys what the screens own (twenty map
// images each time), so a leak per cycle shows as resident memory that keeps growing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <regex>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kCycles = 200;
constexpr int kWarmUpCycles = 20;  // the allocator settles during these
constexpr int kRoundFrames = 40;
constexpr long kAllowedGrowthKb = 2048;  // one map image is 460 KB: a leak of one a cycle adds 90 MB

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A few title frames, a mode key, a round with the arrows in turn and a boost, Escape.
void Cycle(Game& game, int cycle) {
    static const SDLKey arrows[] = {SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_LEFT};
    game.GameInit();
    {
        TitleScene title;
        game.started = 0;
        PushKey(SDL_KEYDOWN, cycle % 2 ? SDLK_b : SDLK_a);
        for (int i = 0; i < 5 && !game.TitleFrame(title); ++i) {
        }
    }
    Round round;
    int showTitle = 0;
    for (int i = 0; i < kRoundFrames; ++i) {
        PushKey(i % 10 < 5 ? SDL_KEYDOWN : SDL_KEYUP, arrows[(i / 10) % 4]);
        if (i == 20 || i == 30) PushKey(i == 20 ? SDL_KEYDOWN : SDL_KEYUP, SDLK_SPACE);
        game.RoundFrame(round, &showTitle);
    }
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    game.RoundFrame(round, &showTitle);
}

struct Soaked {
    bool ready = false;
    int saved = 0;
    long warmKb = 0, lastKb = 0;
};

// Thousands of load lines are captured, and nothing is asserted until the console is back.
Soaked Soak() {
    Soaked s;
    StartCapture();
    {
        Game game;
        s.ready = game.Ready();
        for (int cycle = 0; s.ready && cycle < kCycles; ++cycle) {
            Cycle(game, cycle);
            s.saved += game.quit;  // Escape ended the round, which saved
            if (cycle + 1 == kWarmUpCycles) s.warmKb = ResidentKb();
        }
        s.lastKb = ResidentKb();
    }
    StopCapture();
    return s;
}

}  // namespace

TEST(Soak, TwoHundredTitleAndRoundCyclesDoNotGrowResidentMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer holds freed memory back; LeakSanitizer checks leaks there";
#endif
    ScratchDir dir;
    ASSERT_EQ(symlink(COMET_BUILD_DIR "/image", "image"), 0);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const Soaked s = Soak();
    ASSERT_TRUE(s.ready);
    EXPECT_EQ(s.saved, kCycles);
    EXPECT_TRUE(std::regex_match(dir.Read("Rec.dat"), std::regex("[0-9]+\n[0-9]+\n"))) << dir.Read("Rec.dat");
    std::printf("resident memory after %d cycles: %ld KB, after %d: %ld KB\n", kWarmUpCycles, s.warmKb, kCycles, s.lastKb);
    EXPECT_LT(s.lastKb - s.warmKb, kAllowedGrowthKb);
}
