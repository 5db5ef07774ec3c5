// Round rules, replayed frame by frame without pacing: a fixed seed, key events pushed
// before the frame they belong to, and the state checked at named frames.
#include <unistd.h>

#include <cstdio>

#include "StartedGame.h"

using namespace testsupport;

namespace {

struct RoundRules : StartedGame {
    std::unique_ptr<Round> round;
    int showTitle = 0;
    std::string console;

    void SetUp() override {
        StartedGame::SetUp();
        NewRound();
    }

    // A Mode A round on records loaded afresh, its items parked far from the ship and
    // from each other so that they are never picked up unless a test moves them.
    void NewRound() {
        StartCapture();
        game->GameInit();
        game->mode = kModeA;
        game->started = 1;
        srand(7);
        round = std::make_unique<Round>();
        StopCapture();
        for (int i = 0; i < kItemCount; ++i) {
            round->items[i].pos.x = 300 + 40 * i;
            round->items[i].pos.y = 20;
            round->items[i].dx = round->items[i].dy = 0;
        }
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
};

}  // namespace

TEST_F(RoundRules, BoostPressedOnAnEmptyGaugeShowsOnlyItsLookForOneFrame) {
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    Frame();
    EXPECT_EQ(round->info.gauge, 0);
    EXPECT_EQ(game->boost, 0);
    EXPECT_EQ(ship().state, 1);
}

TEST_F(RoundRules, GaugeRunningOutShowsTheBoostLookForThatFrameAndEndsBoostUntilSpaceIsPressedAgain) {
    round->info.gauge = 3;
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    Frames(2);
    EXPECT_EQ(round->info.gauge, 1);
    EXPECT_EQ(game->boost, 1);
    Frame();  // the frame the gauge runs out: the boost look stays on for it
    EXPECT_EQ(round->info.gauge, 0);
    EXPECT_EQ(game->boost, 0);
    for (const Player& p : round->players) EXPECT_EQ(p.state, 1);
    round->info.gauge = 50;  // energy regained while space is still held
    Frame();
    EXPECT_EQ(game->boost, 0);
    EXPECT_EQ(round->info.gauge, 50);
    for (const Player& p : round->players) EXPECT_EQ(p.state, 0);
    PushKey(SDL_KEYUP, SDLK_SPACE);
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    Frame();
    EXPECT_EQ(game->boost, 1);
    EXPECT_EQ(round->info.gauge, 49);
}

TEST_F(RoundRules, RegenerationIntervalShrinksWithSpeedDownToThreeFramesAndStopsAtFull) {
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
    round->info.gauge = kGaugeMax;
    Frames(3);  // a point falls due at speed 40
    EXPECT_EQ(round->info.gauge, kGaugeMax);
}

TEST_F(RoundRules, ScoreOf1000RaisesSpeedInTheSameFrameAndTheHudShowsIt) {
    game->score = 998;
    Frame();
    EXPECT_EQ(round->map.speed, 1);
    EXPECT_EQ(DigitAt(game->screen, 85 + 12, 30), 1);
    Frame();
    EXPECT_EQ(game->score, 1000);
    EXPECT_EQ(round->map.speed, 2);
    const struct { int x, y, digit; } hud[] = {
        {85, 30, 0}, {85 + 12, 30, 2}, {14, 15, 0}, {14 + 12, 15, 1}, {14 + 48, 15, 0}};
    for (const auto& h : hud) EXPECT_EQ(DigitAt(game->screen, h.x, h.y), h.digit) << h.x;
}

TEST_F(RoundRules, ItemIsPickedUpOnlyOnceFullyFadedIn) {
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

TEST_F(RoundRules, RecordNoticeNeedsAScoreStrictlyAboveTheRecordOfTheModePlayed) {
    for (int mode : {kModeA, kModeB}) {
        NewRound();
        game->mode = mode;
        game->recordA = mode == kModeA ? 10 : 0;  // the other mode's record is beaten already
        game->recordB = mode == kModeB ? 10 : 0;
        game->score = 9;
        Frame();  // score 10: equal, no notice
        EXPECT_EQ(round->info.blinkAlpha, 0) << "mode " << mode;
        Frame();  // 11
        EXPECT_EQ(round->info.blinkAlpha, 15) << "mode " << mode;
    }
}

TEST_F(RoundRules, ShipAtXMinusElevenFliesOnAndAtMinusTwelveHasCrashed) {
    ship().x = -11;
    Frame();
    EXPECT_EQ(game->gameOver, 0);
    ship().x = -12;
    Frame();
    EXPECT_EQ(game->gameOver, 1);
}

TEST_F(RoundRules, StripShiftedBy155FliesOnAndBy156HasCrashed) {
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

// r, t, e, Escape and the window's close request (SDLK_UNKNOWN here), each in flight and
// after the crash: whether the round ends, what it saves, and what main does next.
TEST_F(RoundRules, RoundEndKeysSaveTheModePlayedAndTellTheMainLoopWhatComesNext) {
    const struct { SDLKey key; bool endsInFlight; int quit, showTitle; } cases[] = {
        {SDLK_r, false, 0, 0}, {SDLK_t, false, 0, 1}, {SDLK_e, false, 1, 0},
        {SDLK_ESCAPE, true, 1, 0}, {SDLK_UNKNOWN, true, 1, 0}};
    for (const auto& c : cases) {
        for (bool crashed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "key " << c.key << (crashed ? " after" : " before")
                                            << " the crash");
            dir.Write("Rec.dat", "5\n7\n");
            NewRound();
            game->mode = kModeB;
            game->score = 40;
            showTitle = 0;
            if (crashed) {
                ship().x = -12;
                Frame();  // the crash frame still scores: 41
            }
            if (c.key == SDLK_UNKNOWN) PushQuit(); else PushKey(SDL_KEYDOWN, c.key);
            const bool ends = crashed || c.endsInFlight;
            EXPECT_EQ(Frame(), ends);  // a frame in flight scores: 41
            EXPECT_EQ(console, ends ? "OK: RecordFile was successfully loaded.\n" : "");
            EXPECT_EQ(dir.Read("Rec.dat"), ends ? "5\n41\n" : "5\n7\n");
            EXPECT_EQ(game->quit, ends ? c.quit : 0);
            EXPECT_EQ(showTitle, ends ? c.showTitle : 0);
        }
    }
}

TEST_F(RoundRules, ARoundEnteredWithQuitSetRunsNoFrameAndWritesNothing) {
    game->quit = 1;
    int title = 0;
    game->GameMain(&title);
    EXPECT_NE(access("Rec.dat", F_OK), 0);
    EXPECT_EQ(game->score, 0);
}

TEST_F(RoundRules, TrailFollowsTheShipOneFrameBehindEachImage) {
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);
    Frames(4);  // the ship moves 5 right per frame: 0, 5, 10, 15 at the frames' starts
    EXPECT_EQ(ship().x, 20);
    EXPECT_EQ(round->players[1].x, 15);
    EXPECT_EQ(round->players[2].x, 10);
    EXPECT_EQ(round->players[4].x, 0);
    EXPECT_EQ(round->players[19].x, 0);
}
