// A game started in a scratch folder on the test sheet and two open caves, GameInit
// done, its start-up lines kept off the test's output: the ground of the main loop's
// test and the record tests.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "Game.h"
#include "TestSupport.h"

namespace testsupport {

struct StartedGame : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<Game> game;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        WriteTestSheet();
        WriteOpenCaves();
        StartCapture();
        game = std::make_unique<Game>();
        game->GameInit();
        StopCapture();
        ASSERT_TRUE(game->Ready());
    }
};

}  // namespace testsupport
