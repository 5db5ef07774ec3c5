// Frame pacing: the 16 ms grid, late frames, and the once-a-second report.
#include <gtest/gtest.h>

#include <vector>

#include "FpsControl.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

// A clock the test sets by hand; a sleep that records what it was asked and advances it.
Uint32 gNow = 0;
std::vector<Uint32> gSleeps;
Uint32 FakeClock() { return gNow; }
void FakeSleep(Uint32 ms) {
    gSleeps.push_back(ms);
    gNow += ms;
}

struct Pacing : ::testing::Test {
    void SetUp() override {
        gNow = 0;
        gSleeps.clear();
    }
    FpsControl fps{FakeClock, FakeSleep};
};

}  // namespace

TEST_F(Pacing, EarlyFrameSleepsTheRestAndTheBoundaryMovesBySixteen) {
    fps.lastTime = 1000;
    gNow = 1010;
    fps.FpsWait();
    ASSERT_EQ(gSleeps.size(), 1u);
    EXPECT_EQ(gSleeps[0], 6u);
    EXPECT_EQ(fps.lastTime, 1016u);
}

TEST_F(Pacing, OversleepIsMadeUpByTheNextShorterSleep) {
    fps.lastTime = 1000;
    gNow = 1010;
    fps.FpsWait();  // asks for 6 ms...
    gNow += 3;      // ...the system wakes 3 ms late, at 1019
    gNow += 4;      // the next frame takes 4 ms: 1023
    fps.FpsWait();
    ASSERT_EQ(gSleeps.size(), 2u);
    EXPECT_EQ(gSleeps[1], 9u) << "still on the grid: 1016 + 16 = 1032";
    EXPECT_EQ(fps.lastTime, 1032u);
}

TEST_F(Pacing, FrameEndingExactlyOnTheBoundaryDoesNotSleep) {
    fps.lastTime = 1000;
    gNow = 1016;
    fps.FpsWait();
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(fps.lastTime, 1016u);
}

TEST_F(Pacing, LateFrameMovesTheGridToItsOwnEnd) {
    fps.lastTime = 1000;
    gNow = 1040;
    fps.FpsWait();
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(fps.lastTime, 1040u);
    gNow = 1050;
    fps.FpsWait();
    ASSERT_EQ(gSleeps.size(), 1u);
    EXPECT_EQ(gSleeps[0], 6u);
}

TEST_F(Pacing, AcrossTheWrapOfTheTickCounterNoSleepRunsAwayAndTheGridResumes) {
    // Just before the wrap, boundary + 16 has wrapped past the clock: that one frame is
    // not held back, and the grid restarts from its end.
    fps.lastTime = 0xfffffff8u;
    gNow = 0xfffffffcu;
    fps.FpsWait();
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(fps.lastTime, 0xfffffffcu);
    gNow = 0;  // 4 ms later, after the wrap
    fps.FpsWait();
    ASSERT_EQ(gSleeps.size(), 1u);
    EXPECT_EQ(gSleeps[0], 12u);
    EXPECT_EQ(fps.lastTime, 12u);
}

TEST_F(Pacing, FirstWaitSleepsOnlyWhenTheClockReadsUnderSixteen) {
    gNow = 5;
    fps.FpsWait();
    EXPECT_EQ(gSleeps.size(), 1u);
    FpsControl later(FakeClock, FakeSleep);
    gSleeps.clear();
    gNow = 5000;
    later.FpsWait();
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(later.lastTime, 5000u);
}

TEST_F(Pacing, ReportComesOnlyAfterMoreThanASecondWithTheFrameCount) {
    fps.reportTime = 2000;
    StartCapture();
    for (int frame = 0; frame < 62; ++frame) {
        gNow = 2000 + frame * 16;  // the 62nd frame is at 2976
        fps.FpsDisplay();
    }
    gNow = 3000;  // exactly 1000 ms: not yet
    fps.FpsDisplay();
    gNow = 3001;
    fps.FpsDisplay();
    EXPECT_EQ(StopCapture(), "64FPS\n");
    EXPECT_EQ(fps.frameCount, 0);
    EXPECT_EQ(fps.reportTime, 3001u);
}

TEST_F(Pacing, FirstDisplayLaterThanASecondAfterStartReportsOneFrame) {
    gNow = 4000;
    StartCapture();
    fps.FpsDisplay();
    EXPECT_EQ(StopCapture(), "1FPS\n");
}
