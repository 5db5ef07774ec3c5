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

TEST_F(KeyTable, ArrowsSetAndClearTheirOwnBitsInQueueOrder) {
    Press(SDLK_UP);
    Press(SDLK_RIGHT);
    Press(SDLK_LEFT);
    Release(SDLK_LEFT);  // pressed and released in one frame: as it was
    Poll();
    EXPECT_EQ(ks.keys, kKeyUp | kKeyRight);
    Press(SDLK_DOWN);
    Press(SDLK_LEFT);
    Release(SDLK_UP);
    Poll();
    EXPECT_EQ(ks.keys, kKeyDown | kKeyLeft | kKeyRight);
}

TEST_F(KeyTable, AfterTheCrashPressesOfArrowsAndSpaceDoNothingButReleasesStillClear) {
    Press(SDLK_UP);
    Press(SDLK_SPACE);
    Poll();
    EXPECT_EQ(boost, 1);
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

TEST_F(KeyTable, ModeKeysCountOnlyOnTheTitleWhereTheFirstInTheQueueWins) {
    Press(SDLK_b);
    Poll();
    EXPECT_EQ(mode, 0) << "during a round";
    started = 0;
    Press(SDLK_b);
    Press(SDLK_a);
    Poll();
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(quit, 0);
}

// What r, t and e do to the round is in round_test; here, that the last of one poll wins.
TEST_F(KeyTable, OfRTAndEPressedAfterTheCrashInOnePollTheLastWins) {
    gameOver = 1;
    Press(SDLK_t);
    Press(SDLK_r);
    Poll();
    EXPECT_EQ(roundEnd, kRoundRetry);
    Press(SDLK_r);
    Press(SDLK_t);
    Poll();
    EXPECT_EQ(roundEnd, kRoundTitle);
}

// e leaves from the title only; Escape and the window's close request (SDLK_UNKNOWN
// here) from anywhere, ending the round as well.
TEST_F(KeyTable, ExitKeysLeaveTheProgram) {
    const struct { SDLKey key; int roundEnd; } cases[] = {
        {SDLK_e, 0}, {SDLK_ESCAPE, 1}, {SDLK_UNKNOWN, 1}};
    for (const auto& c : cases) {
        quit = roundEnd = started = 0;
        if (c.key == SDLK_UNKNOWN) PushQuit(); else Press(c.key);
        Poll();
        EXPECT_EQ(quit, 1) << c.key;
        EXPECT_EQ(started, 1) << c.key;
        EXPECT_EQ(roundEnd, c.roundEnd) << c.key;
    }
}

TEST_F(KeyTable, OtherEventsAreDroppedAndTheQueueBehindThemStillHandled) {
    SDL_Event other{};
    for (Uint8 type : {SDL_MOUSEMOTION, SDL_ACTIVEEVENT}) {
        other.type = type;
        SDL_PushEvent(&other);
    }
    Release(SDLK_ESCAPE);  // key-ups of the single-press keys do nothing
    Press(SDLK_x);
    Press(SDLK_DOWN);
    Poll();
    EXPECT_EQ(ks.keys, kKeyDown);
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(SDL_PollEvent(&other), 0) << "one call drains the whole queue";
}
