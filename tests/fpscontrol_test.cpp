// Frame pacing: the 16 ms grid and late frames on an injected clock, and the round's own
// loop held to it.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FpsControl.h"
#include "StartedGame.h"

using namespace testsupport;

namespace {

// A clock the test sets by hand; a sleep that records what it was asked and advances the
// clock by that and by a chosen oversleep.
Uint32 gNow = 0;
Uint32 gOversleep = 0;
std::vector<Uint32> gSleeps;
Uint32 FakeClock() { return gNow; }
void FakeSleep(Uint32 ms) {
    gSleeps.push_back(ms);
    gNow += ms + gOversleep;
}

}  // namespace

TEST(Pacing, FrameBoundariesStayOnTheSixteenMillisecondGridUnlessAFrameIsLate) {
    const struct {
        Uint32 boundary, now, oversleep;
        std::vector<Uint32> sleeps;
        Uint32 next;
    } cases[] = {
        {1000, 1010, 0, {6}, 1016},
        {1000, 1010, 3, {6}, 1016},  // waking late does not move the grid
        {1016, 1023, 0, {9}, 1032},
        {1000, 1016, 0, {}, 1016},   // ends exactly on the boundary
        {1000, 1040, 0, {}, 1040},   // late: the grid moves to the frame's own end
        {0, 5, 0, {11}, 16},  // a fresh control's first frame, while the clock reads under 16
        // Across the wrap of the tick counter no sleep runs away and the grid resumes.
        {0xfffffff8u, 0xfffffffcu, 0, {}, 0xfffffffcu},
        {0xfffffffcu, 0, 0, {12}, 12},
    };
    for (const auto& c : cases) {
        FpsControl fps(FakeClock, FakeSleep);
        if (c.boundary != 0) fps.lastTime = c.boundary;  // 0: as constructed
        gNow = c.now;
        gOversleep = c.oversleep;
        gSleeps.clear();
        fps.FpsWait();
        EXPECT_EQ(gSleeps, c.sleeps) << c.boundary << " " << c.now;
        EXPECT_EQ(fps.lastTime, c.next) << c.boundary << " " << c.now;
    }
}

// Some twenty frames in 320 ms, where an unpaced loop would run thousands.
using RoundLoop = StartedGame;
TEST_F(RoundLoop, HoldsEachFrameToSixteenMilliseconds) {
    std::thread escape([] {
        SDL_Delay(320);
        PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    });
    int showTitle = 0;
    StartCapture();
    game->GameMain(&showTitle);
    StopCapture();
    escape.join();
    EXPECT_GE(game->score, 8);  // a sanitizer build under load draws fewer
    EXPECT_LE(game->score, 22);
}
