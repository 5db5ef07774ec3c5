// Round rules, replayed frame by frame without pacing: a fixed seed, key events pushed
// before the frame they belong to, and the state checked at named frames. What the
// frames look like is held by the golden frames; these are the numbers behind them.
#include <thread>

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

// Items just ahead of a ship flying right touch it after its move, but not the trail
// image it leaves behind: each opaque one adds ten, capped after each; a fading one waits.
TEST_F(RoundRules, ItemsArePickedUpByTheShipOnlyOnceFullyFadedInEachAddingTenUpToFull) {
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);  // 0 to 5 in the first frame, 10 in the second
    for (Item& item : round->items) {
        item.pos.x = static_cast<Sint16>(ship().x + kShipStep + kShipSize - 1);
        item.pos.y = static_cast<Sint16>(ship().y);
        item.alpha = kOpaque;
    }
    round->items[2].alpha = kOpaque - 2 * kFadeStep;  // opaque only in the second frame
    round->info.gauge = 60;
    Frame();
    EXPECT_EQ(round->info.gauge, 80);
    EXPECT_EQ(round->items[0].alpha, 0);
    EXPECT_EQ(round->items[2].alpha, kOpaque - kFadeStep);
    Frame();
    EXPECT_EQ(round->info.gauge, kGaugeMax);
    EXPECT_EQ(round->items[2].alpha, 0);
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

// The round's own loop holds every frame to the 16 ms grid: some twenty frames in 320 ms,
// where an unpaced loop would run thousands.
TEST_F(RoundRules, GameMainHoldsEachFrameToSixteenMilliseconds) {
    round.reset();
    std::thread escape([] {
        SDL_Delay(320);
        PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    });
    StartCapture();
    game->GameMain(&showTitle);
    StopCapture();
    escape.join();
    EXPECT_GE(game->score, 8);  // a sanitizer build under load draws fewer
    EXPECT_LE(game->score, 22);
}
