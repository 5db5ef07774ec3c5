// The key table's rules that no scripted frame shows: the first mode key of a poll wins,
// and events other than keys are dropped without stopping the poll. What each key does
// in play, after the crash and on the title is held by the golden frames.
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
