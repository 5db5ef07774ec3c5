// Frame checksums of a scripted title and two scripted rounds, one line per frame, for
// comparing the desktop build with the WebAssembly build (tests/web/run.sh). Uses only
// the game's public frame seam: a fixed seed, fixed key presses at fixed frames, frames
// stepped without pacing. Run in a folder holding image/.
// Usage: frame_sums [NUDGE_FRAME]   (adds one level to one pixel's blue at that frame,
//                                    so the comparison can show it notices)
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Game.h"

namespace {

constexpr unsigned kSeed = 20261206;
constexpr int kTitleFrames = 60;
constexpr int kRoundFrames = 900;  // long enough to crash in both modes

struct Press {
    int frame;
    Uint8 type;  // SDL_KEYDOWN or SDL_KEYUP
    SDLKey key;
};

// Steer, boost through walls, steer again; after the crash the driver presses r or t.
constexpr Press kRoundScript[] = {
    {10, SDL_KEYDOWN, SDLK_RIGHT}, {70, SDL_KEYUP, SDLK_RIGHT},
    {80, SDL_KEYDOWN, SDLK_UP},    {110, SDL_KEYUP, SDLK_UP},
    {120, SDL_KEYDOWN, SDLK_SPACE}, {150, SDL_KEYDOWN, SDLK_RIGHT},
    {200, SDL_KEYUP, SDLK_SPACE},  {210, SDL_KEYUP, SDLK_RIGHT},
    {220, SDL_KEYDOWN, SDLK_DOWN}, {260, SDL_KEYUP, SDLK_DOWN},
    {300, SDL_KEYDOWN, SDLK_LEFT},
};

void PushKey(Uint8 type, SDLKey key) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

// FNV-1a over the visible bytes of every row (the pitch's padding is not the picture).
std::uint64_t FrameSum(const SDL_Surface* s) {
    std::uint64_t h = 1469598103934665603ull;
    const int rowBytes = s->w * s->format->BytesPerPixel;
    for (int y = 0; y < s->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        for (int i = 0; i < rowBytes; ++i) h = (h ^ row[i]) * 1099511628211ull;
    }
    return h;
}

class Recorder {
public:
    Recorder(Game& game, int nudgeFrame) : game_(game), nudgeFrame_(nudgeFrame) {}
    void Frame() {
        if (count_ == nudgeFrame_) NudgeOnePixel();
        std::printf("frame %d %016llx\n", count_, static_cast<unsigned long long>(FrameSum(game_.screen)));
        ++count_;
    }

private:
    void NudgeOnePixel() {
        Uint8* p = static_cast<Uint8*>(game_.screen->pixels) + 160 * game_.screen->pitch + 240 * 3;
        *p = static_cast<Uint8>(*p + 1);
    }
    Game& game_;
    int nudgeFrame_;
    int count_ = 0;
};

void PlayTitle(Game& game, Recorder& rec) {
    auto title = std::make_unique<TitleScene>();
    game.started = 0;
    for (int frame = 0; frame < kTitleFrames; ++frame) {
        if (frame == kTitleFrames - 1) PushKey(SDL_KEYDOWN, SDLK_a);
        const bool over = game.TitleFrame(*title);
        rec.Frame();
        if (over) break;
    }
}

// One round in the current mode; after the crash, `after` ends it (r or t).
void PlayRound(Game& game, Recorder& rec, SDLKey after) {
    int showTitle = 0;
    game.GameInit();
    auto round = std::make_unique<Round>();
    for (int frame = 0; frame < kRoundFrames; ++frame) {
        for (const Press& p : kRoundScript)
            if (p.frame == frame) PushKey(p.type, p.key);
        if (game.gameOver && frame % 50 == 0) PushKey(SDL_KEYDOWN, after);
        const bool ended = game.RoundFrame(*round, &showTitle);
        rec.Frame();
        if (ended) return;
    }
    std::printf("error: the round did not end in %d frames\n", kRoundFrames);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Game game;
    if (!game.Ready()) return 1;
    Recorder rec(game, argc > 1 ? std::atoi(argv[1]) : -1);
    srand(kSeed);
    game.GameInit();
    PlayTitle(game, rec);
    PlayRound(game, rec, SDLK_r);  // Mode A, then again
    PlayRound(game, rec, SDLK_t);
    game.mode = 1;                 // Mode B
    PlayRound(game, rec, SDLK_t);
    return 0;
}
