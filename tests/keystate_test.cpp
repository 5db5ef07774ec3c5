// The key table: which presses count on the title, in play and after the crash, and
// how several events in one poll combine.
#include <gtest/gtest.h>

#include "KeyState.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

// The Game flags a KeyState writes, polled the way the title and the round poll them.
struct KeyTable : ::testing::Test {
    Display display;
    KeyState ks;
    int boost = 0, gameOver = 0, roundEnd = 0, quit = 0, started = 1, mode = 0;

    void Poll() { ks.Key(ks.event, &boost, gameOver, &roundEnd, &quit, &started, &mode); }
    void Press(SDLKey k) { PushKey(SDL_KEYDOWN, k); }
    void Release(SDLKey k) { PushKey(SDL_KEYUP, k); }
};

}  // namespace

TEST_F(KeyTable, ArrowsSetAndClearTheirOwnBits) {
    Press(SDLK_UP);
    Press(SDLK_RIGHT);
    Poll();
    EXPECT_EQ(ks.keys, kKeyUp | kKeyRight);
    Press(SDLK_DOWN);
    Press(SDLK_LEFT);
    Release(SDLK_UP);
    Poll();
    EXPECT_EQ(ks.keys, kKeyDown | kKeyLeft | kKeyRight);
}

TEST_F(KeyTable, ArrowPressedAndReleasedInOneFrameLeavesKeysAsTheyWere) {
    Press(SDLK_LEFT);
    Release(SDLK_LEFT);
    Poll();
    EXPECT_EQ(ks.keys, 0);
}

TEST_F(KeyTable, AfterTheCrashPressesOfArrowsAndSpaceDoNothingButReleasesStillClear) {
    Press(SDLK_UP);
    Press(SDLK_SPACE);
    Poll();
    gameOver = 1;
    Press(SDLK_LEFT);
    Poll();
    EXPECT_EQ(ks.keys, kKeyUp) << "an arrow held at the crash stays set";
    EXPECT_EQ(boost, 1);
    Release(SDLK_UP);
    Release(SDLK_SPACE);
    Press(SDLK_SPACE);
    Poll();
    EXPECT_EQ(ks.keys, 0);
    EXPECT_EQ(boost, 0);
}

TEST_F(KeyTable, SpaceHoldsBoostUntilReleased) {
    Press(SDLK_SPACE);
    Poll();
    EXPECT_EQ(boost, 1);
    Release(SDLK_SPACE);
    Poll();
    EXPECT_EQ(boost, 0);
}

TEST_F(KeyTable, OnTheTitleTheFirstModeKeyInTheQueueWins) {
    started = 0;
    Press(SDLK_b);
    Press(SDLK_a);
    Poll();
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(quit, 0);
}

TEST_F(KeyTable, ModeKeysDuringARoundChangeNothing) {
    Press(SDLK_b);
    Poll();
    EXPECT_EQ(mode, 0);
}

TEST_F(KeyTable, EOnTheTitleLeavesTheProgram) {
    started = 0;
    Press(SDLK_e);
    Poll();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(roundEnd, 0);
}

TEST_F(KeyTable, RTAndEBeforeTheCrashDoNothing) {
    Press(SDLK_r);
    Press(SDLK_t);
    Press(SDLK_e);
    Poll();
    EXPECT_EQ(roundEnd, 0);
    EXPECT_EQ(quit, 0);
}

TEST_F(KeyTable, AfterTheCrashRRetriesTReturnsToTitleEQuits) {
    gameOver = 1;
    Press(SDLK_r);
    Poll();
    EXPECT_EQ(roundEnd, 1);
    Press(SDLK_t);
    Poll();
    EXPECT_EQ(roundEnd, 2);
    Press(SDLK_e);
    Poll();
    EXPECT_EQ(roundEnd, 1);
    EXPECT_EQ(quit, 1);
}

TEST_F(KeyTable, TThenRInOneFrameLeavesTheLastOne) {
    gameOver = 1;
    Press(SDLK_t);
    Press(SDLK_r);
    Poll();
    EXPECT_EQ(roundEnd, 1);
    EXPECT_EQ(quit, 0);
}

TEST_F(KeyTable, EscapeAndWindowCloseLeaveFromAnywhere) {
    started = 0;
    Press(SDLK_ESCAPE);
    Poll();
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(roundEnd, 1);

    quit = roundEnd = started = 0;
    PushQuit();
    Poll();
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(roundEnd, 1);
}

TEST_F(KeyTable, OtherEventsAreDroppedAndTheQueueBehindThemStillHandled) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&motion);
    SDL_Event focus{};
    focus.type = SDL_ACTIVEEVENT;
    SDL_PushEvent(&focus);
    Release(SDLK_ESCAPE);  // key-ups of the single-press keys do nothing
    Press(SDLK_x);
    Press(SDLK_DOWN);
    Poll();
    EXPECT_EQ(ks.keys, kKeyDown);
    EXPECT_EQ(quit, 0);
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0) << "one call drains the whole queue";
}
