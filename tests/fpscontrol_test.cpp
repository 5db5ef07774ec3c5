// Frame pacing: the 16 ms grid and late frames on an injected clock, and the program's
// main loop held to it, with the round's frames-per-second lines.
#include <gtest/gtest.h>

#include <sstream>
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

// The program's loop on the injected clock: a title of 70 frames, a, and a round of 140
// that Escape ends. Every frame but the round's first (which begins off the grid) and
// the last of each screen sleeps to the next 16 ms boundary. The round reports one frame
// at once (it began past a second), then 63 each time a frame ends more than a second
// after the last report; the title reports nothing.
constexpr size_t kTitleFrames = 70, kRoundFrames = 140;
void SleepThenPlay(Uint32 ms) {
    FakeSleep(ms);
    if (gSleeps.size() == kTitleFrames) PushKey(SDL_KEYDOWN, SDLK_a);
    if (gSleeps.size() == kTitleFrames + kRoundFrames - 2) PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
}

// The clock the loop reads: a loop that stops sleeping would read it forever, so far past
// the reads the run needs the window is closed, and the checks below fail.
int gReads = 0;
Uint32 GuardedClock() {
    if (++gReads % 5000 == 0) PushQuit();
    return gNow;
}

using MainLoop = StartedGame;
TEST_F(MainLoop, PacesTitleAndRoundToTheGridAndReportsFramesEachSecond) {
    gNow = gOversleep = 0;
    gReads = 0;
    gSleeps.clear();
    StartCapture();
    EXPECT_EQ(game->RunGame(GuardedClock, SleepThenPlay), 0);
    std::istringstream console(StopCapture());
    EXPECT_EQ(gSleeps, std::vector<Uint32>(kTitleFrames + kRoundFrames - 2, kFrameMs));
    const int perReport = kReportEveryMs / kFrameMs + 1;
    std::string reports, line;
    while (std::getline(console, line))
        if (line.find("FPS") != std::string::npos) reports += line + " ";
    EXPECT_EQ(reports, "1FPS " + std::to_string(perReport) + "FPS " + std::to_string(perReport) + "FPS ");
    EXPECT_EQ(game->score, static_cast<int>(kRoundFrames));
    EXPECT_EQ(dir.Read("Rec.dat"), std::to_string(kRoundFrames) + "\n0\n");
}
