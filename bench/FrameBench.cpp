// Frame benchmarks: one round frame and one title frame, stepped without pacing, and the
// yardstick they are compared with, one whole-surface fill of the display surface.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"

namespace {

constexpr int kSlowSpeed = 1;
constexpr int kFastSpeed = 10;
constexpr int kBoostOff = 0;
constexpr int kBoostOn = 1;

void HoldKey(SDLKey sym) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = sym;
    SDL_PushEvent(&event);
}

// A fresh round in Mode A with the record at 0, so the record notice is drawn too.
void StartRound(Game& game) {
    game.GameInit();
    game.mode = kModeA;
    game.started = 1;
    game.recordA = 0;
    game.recordB = 0;
}

// Put back between frames so every frame measured is one of live play at the asked
// speed: the ship back at its start (it is never shoved off the left edge) and, with
// boost, a full gauge. A few stores; their cost is lost in the frame's.
void KeepPlaying(Game& game, Round& round, int speed, int boost) {
    Player& ship = round.players[0];
    ship.x = 0;
    ship.y = kShipStartY;
    round.map.speed = speed;
    if (boost != kBoostOn) return;
    game.boost = kBoostOn;
    round.info.gauge = kGaugeMax;
}

// The whole frame: events, drawing, rules, HUD and flip; up and right held, so the
// ship's wall tests run every frame.
void BM_RoundFrame(benchmark::State& state) {
    const int speed = static_cast<int>(state.range(0));
    const int boost = static_cast<int>(state.range(1));
    Game& game = bench::SharedGame();
    StartRound(game);
    auto round = std::make_unique<Round>();
    HoldKey(SDLK_UP);
    HoldKey(SDLK_RIGHT);
    int showTitle = 0;
    for (auto _ : state) {
        KeepPlaying(game, *round, speed, boost);
        if (game.RoundFrame(*round, &showTitle)) {
            state.SkipWithError("the round ended");
            break;
        }
    }
    if (game.gameOver) state.SkipWithError("the ship crashed: frames of game over were measured");
    if (boost == kBoostOn && game.boost != kBoostOn) state.SkipWithError("boost ran out");
    round.reset();
    game.GameInit();
}
BENCHMARK(BM_RoundFrame)
    ->ArgNames({"speed", "boost"})
    ->Args({kSlowSpeed, kBoostOff})
    ->Args({kSlowSpeed, kBoostOn})
    ->Args({kFastSpeed, kBoostOff})
    ->Args({kFastSpeed, kBoostOn})
    ->Unit(benchmark::kMicrosecond);

// Steady title: after the first 51 frames everything is drawn opaque.
void BM_TitleFrame(benchmark::State& state) {
    Game& game = bench::SharedGame();
    game.GameInit();
    game.started = 0;
    auto title = std::make_unique<TitleScene>();
    for (auto _ : state) {
        if (game.TitleFrame(*title)) {
            state.SkipWithError("the title ended");
            break;
        }
    }
    title.reset();
    game.GameInit();
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMicrosecond);

// The yardstick: what this machine and this SDL take to touch every pixel once.
void BM_WholeSurfaceFill(benchmark::State& state) {
    Game& game = bench::SharedGame();
    for (auto _ : state) SDL_FillRect(game.screen, nullptr, game.backColor);
}
BENCHMARK(BM_WholeSurfaceFill)->Unit(benchmark::kMicrosecond);

}  // namespace
