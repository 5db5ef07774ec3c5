// Frame sums: the title and two scripted rounds stepped through the game's frame seam
// without pacing, from a fixed seed, with fixed key presses and a few fixed changes to
// the round, printing the game's console and one checksum a frame. The golden frames
// compare its output with the one kept in tests/golden/ (check.sh); the browser tests
// compare the desktop build's output with the WebAssembly build's (tests/web/run.sh).
// Run in a scratch folder holding image/.   Usage: frame_sums [NUDGE_FRAME [SHOTS_DIR]]
//   NUDGE_FRAME: that frame's checksum is taken with one pixel one level up, so the
//   comparisons can show that they notice; -1 for none.
//   SHOTS_DIR: the frames worth a look are saved there as BMPs.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../support/PushKey.h"
#include "Game.h"

namespace {

constexpr unsigned kSeed = 20261206;
constexpr int kTitleFrames = 60;
constexpr int kRoundFrames = 900;  // the scripts crash well before

struct Press {
    int frame;
    Uint8 type;
    SDLKey key;
};

// Mode A: up, down, a boost through a wall, left; the record notice and the speed step
// come within the round (score 850 against a record of 900; Mode B's is five digits), an item is put under the
// ship once opaque, and the ship is put off the left edge at frame 250.
constexpr Press kRoundA[] = {
    {0, SDL_KEYDOWN, SDLK_RIGHT},  {25, SDL_KEYUP, SDLK_RIGHT},  {25, SDL_KEYDOWN, SDLK_UP},
    {45, SDL_KEYUP, SDLK_UP},      {50, SDL_KEYDOWN, SDLK_DOWN}, {75, SDL_KEYUP, SDLK_DOWN},
    {90, SDL_KEYDOWN, SDLK_SPACE}, {90, SDL_KEYDOWN, SDLK_RIGHT}, {100, SDL_KEYUP, SDLK_RIGHT},
    {118, SDL_KEYUP, SDLK_SPACE},  {160, SDL_KEYDOWN, SDLK_LEFT}, {180, SDL_KEYUP, SDLK_LEFT}};
void ChangeRoundA(Game& game, Round& r, int frame) {
    if (frame == 0) game.score = 850, r.info.gauge = 60;
    if (frame == 120) r.items[0].pos.x = static_cast<Sint16>(r.players[0].x), r.items[0].pos.y = static_cast<Sint16>(r.players[0].y);
    if (frame == 250) r.players[0].x = -20;
}

// Mode B: the strip shifted up and down, a boost sideways, then shifted out of reach.
constexpr Press kRoundB[] = {
    {0, SDL_KEYDOWN, SDLK_RIGHT},   {20, SDL_KEYUP, SDLK_RIGHT},    {20, SDL_KEYDOWN, SDLK_UP},
    {60, SDL_KEYUP, SDLK_UP},       {60, SDL_KEYDOWN, SDLK_DOWN},   {100, SDL_KEYUP, SDLK_DOWN},
    {105, SDL_KEYDOWN, SDLK_SPACE}, {105, SDL_KEYDOWN, SDLK_RIGHT}, {115, SDL_KEYUP, SDLK_RIGHT},
    {130, SDL_KEYUP, SDLK_SPACE}};
void ChangeRoundB(Game&, Round& r, int frame) {
    if (frame == 0) r.info.gauge = 40;
    if (frame == 150) r.map.offsetY = 160;
}

// The frames worth a look: the title faded in; Mode A boosting with trail, items, notice
// and HUD; after the pickup; the game-over screen; Mode B shifted, boosting, crashed.
constexpr int kShots[] = {59, 155, 200, 359, 451, 471, 560};

int frameCount = 0;
int nudgeFrame = -1;
std::string shotsDir;

// FNV-1a over the visible bytes of every row (not the pitch's padding).
void PrintFrameSum(SDL_Surface* s) {
    Uint8* pixels = static_cast<Uint8*>(s->pixels);
    if (frameCount == nudgeFrame) ++pixels[s->h / 2 * s->pitch + s->w / 2 * 3];
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < s->h; ++y)
        for (int i = 0; i < s->w * s->format->BytesPerPixel; ++i) h = (h ^ pixels[y * s->pitch + i]) * 1099511628211ull;
    for (int shot : kShots)
        if (shot == frameCount && !shotsDir.empty())
            SDL_SaveBMP(s, (shotsDir + "/frame-" + std::to_string(frameCount) + ".bmp").c_str());
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
template <size_t N>
void PlayRound(Game& game, const Press (&script)[N], void (*change)(Game&, Round&, int), SDLKey after) {
    int showTitle = 0;
    game.GameInit();
    auto round = std::make_unique<Round>();
    for (int frame = 0; frame < kRoundFrames; ++frame) {
        for (const Press& p : script)
            if (p.frame == frame) PushKey(p.type, p.key);
        if (game.gameOver && frame % 50 == 0) PushKey(SDL_KEYDOWN, after);
        change(game, *round, frame);
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
    if (argc > 2) shotsDir = argv[2];
    const SDL_version* v = SDL_Linked_Version();  // blends differ by a level between SDL builds
    std::printf("runtime sdl-%d.%d.%d\n", v->major, v->minor, v->patch);
    if (FILE* records = std::fopen("Rec.dat", "w")) std::fputs("900\n24071\n", records), std::fclose(records);
    Game game;
    if (!game.Ready()) return 1;
    srand(kSeed);
    game.GameInit();
    PlayTitle(game);
    PlayRound(game, kRoundA, ChangeRoundA, SDLK_r);
    game.mode = kModeB;
    PlayRound(game, kRoundB, ChangeRoundB, SDLK_t);
    return 0;
}
