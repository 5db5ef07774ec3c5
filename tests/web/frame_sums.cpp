// Frame checksums of a scripted title and three scripted rounds, one line per frame, to
// compare the desktop build with the WebAssembly build (tests/web/run.sh). Only the
// game's frame seam: a fixed seed, fixed key presses at fixed frames, no pacing.
// Run in a folder holding image/.   Usage: frame_sums [NUDGE_FRAME]
// NUDGE_FRAME: that frame's checksum is taken with one pixel's blue one level up, so the
// comparison can show that it notices.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Game.h"

namespace {

constexpr unsigned kSeed = 20261206;
constexpr int kTitleFrames = 60;
constexpr int kRoundFrames = 900;  // the script crashes well before

// Steer, boost through walls, steer again, then left off the screen: a crash.
constexpr struct { int frame; Uint8 type; SDLKey key; } kRoundScript[] = {
    {10, SDL_KEYDOWN, SDLK_RIGHT}, {70, SDL_KEYUP, SDLK_RIGHT},  {80, SDL_KEYDOWN, SDLK_UP},
    {110, SDL_KEYUP, SDLK_UP},     {120, SDL_KEYDOWN, SDLK_SPACE}, {150, SDL_KEYDOWN, SDLK_RIGHT},
    {200, SDL_KEYUP, SDLK_SPACE},  {210, SDL_KEYUP, SDLK_RIGHT}, {220, SDL_KEYDOWN, SDLK_DOWN},
    {260, SDL_KEYUP, SDLK_DOWN},   {300, SDL_KEYDOWN, SDLK_LEFT},
};

int frameCount = 0;
int nudgeFrame = -1;

void PushKey(Uint8 type, SDLKey key) {
    SDL_Event e{};
    e.type = e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

// FNV-1a over the visible bytes of every row (not the pitch's padding).
void PrintFrameSum(SDL_Surface* s) {
    Uint8* pixels = static_cast<Uint8*>(s->pixels);
    if (frameCount == nudgeFrame) ++pixels[s->h / 2 * s->pitch + s->w / 2 * 3];
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < s->h; ++y)
        for (int i = 0; i < s->w * s->format->BytesPerPixel; ++i)
            h = (h ^ pixels[y * s->pitch + i]) * 1099511628211ull;
    std::printf("frame %d %016llx\n", frameCount++, static_cast<unsigned long long>(h));
}

void PlayTitle(Game& game) {
    auto title = std::make_unique<TitleScene>();
    game.started = 0;
    for (int frame = 0; frame < kTitleFrames; ++frame) {
        if (frame == kTitleFrames - 1) PushKey(SDL_KEYDOWN, SDLK_a);
        const bool over = game.TitleFrame(*title);
        PrintFrameSum(game.screen);
        if (over) return;
    }
}

// One round in the current mode; after the crash `after` (r or t) ends it.
void PlayRound(Game& game, SDLKey after) {
    int showTitle = 0;
    game.GameInit();
    auto round = std::make_unique<Round>();
    for (int frame = 0; frame < kRoundFrames; ++frame) {
        for (const auto& p : kRoundScript)
            if (p.frame == frame) PushKey(p.type, p.key);
        if (game.gameOver && frame % 50 == 0) PushKey(SDL_KEYDOWN, after);
        const bool ended = game.RoundFrame(*round, &showTitle);
        PrintFrameSum(game.screen);
        if (ended) return;
    }
    std::printf("error: the round did not end in %d frames\n", kRoundFrames);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (argc > 1) nudgeFrame = std::atoi(argv[1]);
    Game game;
    if (!game.Ready()) return 1;
    srand(kSeed);
    game.GameInit();
    PlayTitle(game);
    PlayRound(game, SDLK_r);  // Mode A, then again
    PlayRound(game, SDLK_t);
    game.mode = 1;            // Mode B
    PlayRound(game, SDLK_t);
    return 0;
}
