// The title screen: the mode choice, the way out, and what a whole title screen does.
// Its picture is held by the golden frames.
#include "StartedGame.h"

using namespace testsupport;

namespace {

struct TitleScreen : StartedGame {
    std::unique_ptr<TitleScene> title;

    void SetUp() override {
        StartedGame::SetUp();
        StartCapture();
        title = std::make_unique<TitleScene>();
        StopCapture();
        game->started = 0;
    }
};

}  // namespace

TEST_F(TitleScreen, OnlyAModeKeyEndsTheTitleAndItsFrameIsStillDrawn) {
    for (SDLKey key : {SDLK_r, SDLK_t, SDLK_UP, SDLK_SPACE}) PushKey(SDL_KEYDOWN, key);
    EXPECT_FALSE(game->TitleFrame(*title));
    EXPECT_EQ(game->roundEnd, 0);
    PushKey(SDL_KEYDOWN, SDLK_b);
    EXPECT_TRUE(game->TitleFrame(*title));
    EXPECT_EQ(game->mode, kModeB);
    EXPECT_EQ(game->titleAlpha, 10) << "the frame was still drawn";
    EXPECT_EQ(game->quit, 0);
}

TEST_F(TitleScreen, TheWholeTitleRunsItsOwnObjectsAndPrintsNoFramesPerSecond) {
    title.reset();
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
