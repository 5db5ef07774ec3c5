// Round rules, replayed frame by frame without pacing: a fixed seed, key events pushed
// before the frame they belong to, and the state checked at named frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

struct RoundRules : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<Game> game;
    std::unique_ptr<Round> round;
    int showTitle = 0;
    std::string console;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        WriteDigitSheet();
        WriteOpenCaves();
        StartCapture();
        game = std::make_unique<Game>();
        game->GameInit();
        game->mode = kModeA;
        game->started = 1;
        srand(7);
        round = std::make_unique<Round>();
        console = StopCapture();
        ASSERT_TRUE(game->Ready());
    }

    void TearDown() override {
        round.reset();
        game.reset();
    }

    Player& ship() { return round->players[0]; }

    // Runs one frame; true when the round ended in it.
    bool Frame() {
        StartCapture();
        const bool ended = game->RoundFrame(*round, &showTitle);
        console = StopCapture();
        return ended;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) ASSERT_FALSE(Frame()) << "round ended at frame " << i;
    }

    // Items far from the ship and from each other, so they are never picked up.
    void ParkItems() {
        for (int i = 0; i < kItemCount; ++i) {
            round->items[i].pos.x = 300 + 40 * i;
            round->items[i].pos.y = 20;
            round->items[i].dx = round->items[i].dy = 0;
        }
    }

    int HudDigitAt(int x, int y) { return DigitAt(game->screen, x, y); }
};

}  // namespace

TEST_F(RoundRules, BoostOnAnEmptyGaugeLastsOnlyForTheLookOfOneFrame) {
    ParkItems();
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    Frame();
    EXPECT_EQ(round->info.gauge, 0);
    EXPECT_EQ(game->boost, 0);
    for (const Player& p : round->players) EXPECT_EQ(p.state, 1) << "the boost look is on";
    Frame();
    for (const Player& p : round->players) EXPECT_EQ(p.state, 0);
}

TEST_F(RoundRules, GaugeRunningOutEndsBoostUntilSpaceIsPressedAgain) {
    ParkItems();
    round->info.gauge = 3;
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    Frame();
    Frame();
    EXPECT_EQ(round->info.gauge, 1);
    EXPECT_EQ(game->boost, 1);
    Frame();  // the frame the gauge runs out
    EXPECT_EQ(round->info.gauge, 0);
    EXPECT_EQ(game->boost, 0);
    EXPECT_EQ(ship().state, 1);
    round->info.gauge = 50;  // energy regained while space is still held
    Frame();
    EXPECT_EQ(game->boost, 0);
    EXPECT_EQ(round->info.gauge, 50);
    PushKey(SDL_KEYUP, SDLK_SPACE);
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    Frame();
    EXPECT_EQ(game->boost, 1);
    EXPECT_EQ(round->info.gauge, 49);
}

TEST_F(RoundRules, RegenerationIntervalShrinksWithSpeedDownToThreeFrames) {
    ParkItems();
    const struct { int speed; int interval; } cases[] = {{1, 23}, {2, 21}, {10, 5}, {11, 3}, {40, 3}};
    for (const auto& c : cases) {
        round->map.speed = c.speed;
        round->info.gauge = 0;
        game->regenCount = 0;
        Frames(c.interval - 1);
        EXPECT_EQ(round->info.gauge, 0) << "speed " << c.speed;
        Frames(1);
        EXPECT_EQ(round->info.gauge, 1) << "speed " << c.speed;
        EXPECT_EQ(game->regenCount, 0);
    }
}

TEST_F(RoundRules, FullGaugeStaysFullWhenAPointFallsDue) {
    ParkItems();
    round->info.gauge = kGaugeMax;
    game->regenCount = 22;
    Frame();
    EXPECT_EQ(round->info.gauge, kGaugeMax);
    EXPECT_EQ(game->regenCount, 0);
}

TEST_F(RoundRules, ScoreOf1000RaisesSpeedInTheSameFrameAndTheHudShowsIt) {
    ParkItems();
    game->score = 998;
    Frame();
    EXPECT_EQ(round->map.speed, 1);
    EXPECT_EQ(HudDigitAt(85 + 12, 30), 1);
    Frame();
    EXPECT_EQ(game->score, 1000);
    EXPECT_EQ(round->map.speed, 2);
    EXPECT_EQ(HudDigitAt(85, 30), 0);
    EXPECT_EQ(HudDigitAt(85 + 12, 30), 2);
    EXPECT_EQ(HudDigitAt(14, 15), 0);
    EXPECT_EQ(HudDigitAt(14 + 12, 15), 1);
    EXPECT_EQ(HudDigitAt(14 + 48, 15), 0);
}

TEST_F(RoundRules, FirstFrameScoresOne) {
    ParkItems();
    Frame();
    EXPECT_EQ(game->score, 1);
    EXPECT_EQ(HudDigitAt(14 + 48, 15), 1);
}

TEST_F(RoundRules, ItemIsPickedUpOnlyOnceFullyFadedIn) {
    ParkItems();
    Item& item = round->items[0];
    item.pos.x = ship().x;
    item.pos.y = ship().y;
    item.alpha = 245;  // 250 after this frame's fade: out of reach
    Frame();
    EXPECT_EQ(round->info.gauge, 0);
    Frame();  // 255 now
    EXPECT_EQ(round->info.gauge, 10);
    EXPECT_EQ(item.alpha, 0);
}

TEST_F(RoundRules, SeveralItemsInOneFrameEachAddTenWithTheCapAfterEach) {
    ParkItems();
    for (Item& item : round->items) {
        item.pos.x = ship().x;
        item.pos.y = ship().y;
        item.alpha = 255;
    }
    round->info.gauge = 75;
    Frame();
    EXPECT_EQ(round->info.gauge, kGaugeMax);
    for (const Item& item : round->items) EXPECT_EQ(item.alpha, 0);
}

TEST_F(RoundRules, RecordNoticeNeedsAScoreStrictlyAboveTheRecord) {
    ParkItems();
    game->recordA = 10;
    game->score = 9;
    Frame();  // score 10: equal, no notice
    EXPECT_EQ(round->info.blinkAlpha, 0);
    Frame();  // 11
    EXPECT_EQ(round->info.blinkAlpha, 15);
}

TEST_F(RoundRules, RecordNoticeComparesWithTheRecordOfTheModePlayed) {
    ParkItems();
    game->mode = kModeB;
    game->recordA = 0;
    game->recordB = 100;
    Frames(5);
    EXPECT_EQ(round->info.blinkAlpha, 0);
}

TEST_F(RoundRules, ShipAtXMinusElevenFliesOnAndAtMinusTwelveHasCrashed) {
    ParkItems();
    ship().x = -11;
    Frame();
    EXPECT_EQ(game->gameOver, 0);
    ship().x = -12;
    Frame();
    EXPECT_EQ(game->gameOver, 1);
}

TEST_F(RoundRules, StripShiftedBy155FliesOnAndBy156HasCrashed) {
    ParkItems();
    game->mode = kModeB;
    for (int shift : {155, -155}) {
        round->map.offsetY = shift;
        Frame();
        EXPECT_EQ(game->gameOver, 0) << shift;
    }
    round->map.offsetY = -156;
    Frame();
    EXPECT_EQ(game->gameOver, 1);
}

TEST_F(RoundRules, AfterTheCrashTheShipSlidesTheOverlayFadesAndTheScoreStands) {
    ParkItems();
    ship().x = -12;
    Frame();
    EXPECT_EQ(game->gameOver, 1);
    EXPECT_EQ(game->overAlpha, 5);
    EXPECT_EQ(ship().x, -22);
    const int score = game->score;
    const int gauge = round->info.gauge;
    Frames(60);
    EXPECT_EQ(ship().x, -22 - 600);
    EXPECT_EQ(game->overAlpha, 255);
    EXPECT_EQ(game->score, score);
    EXPECT_EQ(round->info.gauge, gauge);
    EXPECT_EQ(game->centrePromptDst.y, 246);
    for (const Item& item : round->items) EXPECT_EQ(item.alpha, 0) << "items fade out";
}

TEST_F(RoundRules, RetryTitleAndExitKeysCountOnlyAfterTheCrash) {
    ParkItems();
    PushKey(SDL_KEYDOWN, SDLK_r);
    PushKey(SDL_KEYDOWN, SDLK_t);
    PushKey(SDL_KEYDOWN, SDLK_e);
    EXPECT_FALSE(Frame());
    EXPECT_EQ(game->roundEnd, 0);
    EXPECT_EQ(game->quit, 0);
}

TEST_F(RoundRules, RAfterTheCrashSavesAndRetriesWithoutTheTitle) {
    ParkItems();
    game->score = 40;
    ship().x = -12;
    Frame();
    PushKey(SDL_KEYDOWN, SDLK_r);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(console, "OK: RecordFile was successfully loaded.\n");
    EXPECT_EQ(dir.Read("Rec.dat"), "41\n0\n");
    EXPECT_EQ(game->quit, 0);
    EXPECT_EQ(showTitle, 0);
}

TEST_F(RoundRules, TAfterTheCrashSavesAndAsksForTheTitle) {
    ParkItems();
    ship().x = -12;
    Frame();
    PushKey(SDL_KEYDOWN, SDLK_t);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(showTitle, 1);
    EXPECT_EQ(game->quit, 0);
    EXPECT_EQ(dir.Read("Rec.dat"), "1\n0\n");
}

TEST_F(RoundRules, EAfterTheCrashSavesAndQuits) {
    ParkItems();
    ship().x = -12;
    Frame();
    PushKey(SDL_KEYDOWN, SDLK_e);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(game->quit, 1);
    EXPECT_EQ(showTitle, 0);
}

TEST_F(RoundRules, EscapeOrWindowCloseMidRoundSavesABetterScoreAndQuits) {
    ParkItems();
    game->mode = kModeB;
    dir.Write("Rec.dat", "5\n7\n");
    game->GameInit();
    Frames(9);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(game->quit, 1);
    EXPECT_EQ(dir.Read("Rec.dat"), "5\n10\n");

    game->GameInit();
    round = std::make_unique<Round>();
    ParkItems();
    game->score = 20;
    PushQuit();
    EXPECT_TRUE(Frame());
    EXPECT_EQ(dir.Read("Rec.dat"), "5\n21\n");
}

TEST_F(RoundRules, ARoundEnteredWithQuitSetRunsNoFrameAndWritesNothing) {
    game->quit = 1;
    int title = 0;
    game->GameMain(&title);
    EXPECT_NE(access("Rec.dat", F_OK), 0);
    EXPECT_EQ(game->score, 0);
}

TEST_F(RoundRules, ModeKeysDuringARoundChangeNothing) {
    ParkItems();
    PushKey(SDL_KEYDOWN, SDLK_b);
    Frame();
    EXPECT_EQ(game->mode, kModeA);
}

TEST_F(RoundRules, TrailFollowsTheShipOneFrameBehindEachImage) {
    ParkItems();
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);
    Frames(4);  // the ship moves 5 right per frame: 0, 5, 10, 15 at the frames' starts
    EXPECT_EQ(ship().x, 20);
    EXPECT_EQ(round->players[1].x, 15);
    EXPECT_EQ(round->players[2].x, 10);
    EXPECT_EQ(round->players[4].x, 0);
    EXPECT_EQ(round->players[19].x, 0);
}
