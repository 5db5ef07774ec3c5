// The title screen: its fade-in, the mode choice, what it hands to the round, and the
// records it shows.
#include <gtest/gtest.h>

#include <memory>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

struct TitleScreen : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<Game> game;
    std::unique_ptr<TitleScene> title;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        WriteDigitSheet();
        WriteOpenCaves();
        StartCapture();
        game = std::make_unique<Game>();
        game->GameInit();
        title = std::make_unique<TitleScene>();
        game->started = 0;
        StopCapture();
        ASSERT_TRUE(game->Ready());
    }
    void TearDown() override {
        title.reset();
        game.reset();
    }
};

}  // namespace

TEST_F(TitleScreen, ImagesFadeInByFiveAndAreOpaqueFromTheFiftyFirstFrame) {
    EXPECT_FALSE(game->TitleFrame(*title));
    EXPECT_EQ(game->titleAlpha, 5);
    for (int i = 2; i <= 50; ++i) game->TitleFrame(*title);
    EXPECT_EQ(game->titleAlpha, 250);
    game->TitleFrame(*title);
    EXPECT_EQ(game->titleAlpha, 255);
    game->TitleFrame(*title);
    EXPECT_EQ(game->titleAlpha, 255);
    EXPECT_EQ(game->centrePromptDst.y, 240);
}

TEST_F(TitleScreen, RecordsShowAsFiveDigitsEachOnceFadedIn) {
    game->recordA = 0;
    game->recordB = 4071;
    for (int i = 0; i < 51; ++i) game->TitleFrame(*title);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(DigitAt(game->screen, 41 + 12 * i, 232), 0) << i;
    const int b[] = {0, 4, 0, 7, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(DigitAt(game->screen, 367 + 12 * i, 232), b[i]) << i;
}

TEST_F(TitleScreen, ModeKeyInTheFirstFrameEndsTheTitleAfterThatFrame) {
    PushKey(SDL_KEYDOWN, SDLK_b);
    EXPECT_TRUE(game->TitleFrame(*title));
    EXPECT_EQ(game->mode, kModeB);
    EXPECT_EQ(game->titleAlpha, 5) << "the frame was still drawn";
    EXPECT_EQ(game->quit, 0);
}

TEST_F(TitleScreen, ExitKeysEndTheTitleAndAskToQuit) {
    for (SDLKey key : {SDLK_e, SDLK_ESCAPE}) {
        game->started = 0;
        game->quit = 0;
        PushKey(SDL_KEYDOWN, key);
        EXPECT_TRUE(game->TitleFrame(*title)) << key;
        EXPECT_EQ(game->quit, 1) << key;
    }
}

TEST_F(TitleScreen, ArrowsRetryAndTitleKeysDoNotEndIt) {
    PushKey(SDL_KEYDOWN, SDLK_r);
    PushKey(SDL_KEYDOWN, SDLK_t);
    PushKey(SDL_KEYDOWN, SDLK_UP);
    EXPECT_FALSE(game->TitleFrame(*title));
    EXPECT_EQ(game->roundEnd, 0);
}

TEST_F(TitleScreen, SpaceHeldIntoTheRoundIsSwitchedOffByItsEmptyGauge) {
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    PushKey(SDL_KEYDOWN, SDLK_a);
    EXPECT_TRUE(game->TitleFrame(*title));
    title.reset();
    EXPECT_EQ(game->boost, 1);
    Round round;
    int showTitle = 0;
    game->RoundFrame(round, &showTitle);
    EXPECT_EQ(game->boost, 0);
    EXPECT_EQ(round.players[0].state, 1) << "the boost look shows for that one frame";
    EXPECT_EQ(round.info.gauge, 0);
}

TEST_F(TitleScreen, TheWholeTitleRunsItsOwnObjectsAndPrintsNoFramesPerSecond) {
    title.reset();
    game->started = 0;
    StartCapture();
    for (int i = 0; i < 3; ++i) PushKey(SDL_KEYDOWN, SDLK_UP);
    PushKey(SDL_KEYDOWN, SDLK_a);
    game->Title();
    const std::string out = StopCapture();
    EXPECT_EQ(out.find("FPS"), std::string::npos);
    EXPECT_NE(out.find("OK: MapDataFile was successfully loaded."), std::string::npos)
        << "each title screen loads the caves anew";
    EXPECT_EQ(game->started, 1);
    EXPECT_EQ(game->mode, kModeA);
}
