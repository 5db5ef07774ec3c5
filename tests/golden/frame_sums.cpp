// Frame sums: the title and two scripted rounds stepped through the game's frame seam
// without pacing, from a fixed seed, with fixed key presses and a few fixed changes to
// the round, printing the game's console and one checksum a frame. The golden frames
// compare its output with the one kept in tests/golden/ (check.sh); the browser tests
// compare the desktop build's output with the WebAssembly build's (tests/web/run.sh).
// Then the edges: short rounds whose pokes sit on either side of a rule's boundary, each
// announced by a marker line ("# frame 566: x -11 must not crash") so that a failing
// diff names the rule, and each frame's line followed by the state the rule acts on.
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
#include "Tuning.h"

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

void PrintState(const Game& game, const Round& r) {
    const Player& ship = r.players[0];
    std::printf("  ship %d,%d gauge %d speed %d scroll %d shift %d over %d boost %d items", ship.x, ship.y,
                r.info.gauge, r.map.speed, r.map.scroll, r.map.curDst.y, game.gameOver, game.boost);
    for (const Item& item : r.items) std::printf(" %d,%d", item.pos.x, item.pos.y);
    std::printf("\n");
}

// One round in `mode` of at most `frames`, `before` run ahead of each frame; with `state`
// each frame's line is followed by the state the rules act on, and the round's end is said.
template <class Before>
void PlayFrames(Game& game, int mode, int frames, bool state, Before before) {
    int showTitle = 0;
    game.GameInit();
    game.mode = mode;
    auto round = std::make_unique<Round>();
    for (int frame = 0; frame < frames; ++frame) {
        before(*round, frame);
        const bool ended = game.RoundFrame(*round, &showTitle);
        PrintFrameSum(game.screen);
        if (state) PrintState(game, *round);
        if (ended && state) std::printf("  round ended: title %d quit %d\n", showTitle, game.quit);
        if (ended) return;
    }
    if (!state) std::printf("error: the round did not end in %d frames\n", frames);
}

// A scripted round; after the crash `after` (r or t) ends it.
template <size_t N>
void PlayRound(Game& game, int mode, const Press (&script)[N], void (*change)(Game&, Round&, int), SDLKey after) {
    PlayFrames(game, mode, kRoundFrames, false, [&](Round& r, int frame) {
        for (const Press& p : script)
            if (p.frame == frame) PushKey(p.type, p.key);
        if (game.gameOver && frame % 50 == 0) PushKey(SDL_KEYDOWN, after);
        change(game, r, frame);
    });
}

// ---------------------------------------------------------------- the edges

using Poke = void (*)(Game&, Round&);
struct Edge {
    int frame;         // within its round
    const char* rule;  // the marker line
    Poke poke;         // applied before that frame; may push keys
};

// Puts an opaque item where this frame's drift will bring it to (x, y).
void ItemAt(Round& r, int i, int x, int y) {
    Item& item = r.items[i];
    item.pos.x = static_cast<Sint16>(x - item.dx);
    item.pos.y = static_cast<Sint16>(y - item.dy);
    item.alpha = kOpaque;
}
void ItemsAway(Round& r) {
    for (int i = 0; i < kItemCount; ++i) ItemAt(r, i, 200 + 60 * i, 40), r.items[i].alpha = 0;
}
// Items on the edge of the ship's reach (+1: right and below, -1: left and above),
// drifting away from it.
void ItemsAtReach(Round& r, int side) {
    const int sx = r.players[0].x, sy = r.players[0].y;
    const int in = side > 0 ? 11 : 1 - kItemSize, out = side > 0 ? 12 : -kItemSize;
    for (Item& item : r.items) item.dx = item.dy = side;
    ItemAt(r, 0, sx + in, sy + in);
    ItemAt(r, 1, sx + out, sy);
    ItemAt(r, 2, sx, sy + out);
}

// One round of edges in `mode`, run until `frames` or its end.
template <size_t N>
void PlayEdges(Game& game, int mode, const Edge (&edges)[N], int frames) {
    PlayFrames(game, mode, frames, true, [&](Round& r, int frame) {
        for (const Edge& e : edges)
            if (e.frame == frame) std::printf("# frame %d: %s\n", frameCount, e.rule), e.poke(game, r);
    });
}

constexpr Edge kEdgesA[] = {
    {0, "a ship at 466 stays there; items bounce off the left and the top edge",
     [](Game&, Round& r) {
         r.players[0].x = kShipMaxX;
         ItemsAway(r);
         ItemAt(r, 1, 1, 100), r.items[1].dx = -1;
         ItemAt(r, 2, 100, 1), r.items[2].dy = -1;
     }},
    {2, "a ship right of 466 is put at 467", [](Game&, Round& r) { r.players[0].x = kShipMaxX + 4; }},
    {4, "x -11 must not crash; space held on 2 points: two frames of boost, the look to the last",
     [](Game&, Round& r) {
         r.players[0].x = kLeftCrashX, r.info.gauge = 2;
         PushKey(SDL_KEYDOWN, SDLK_SPACE);
     }},
    {6, "energy again, but no boost until space is pressed again", [](Game&, Round& r) { r.info.gauge = 50; }},
    {7, "pressed again", [](Game&, Round&) {
         PushKey(SDL_KEYUP, SDLK_SPACE);
         PushKey(SDL_KEYDOWN, SDLK_SPACE);
     }},
    {8, "x -12 crashes; the boost held goes on draining", [](Game&, Round& r) { r.players[0].x = kLeftCrashX - 1; }},
    {10, "arrows pressed after the crash do nothing", [](Game&, Round&) {
         PushKey(SDL_KEYDOWN, SDLK_UP);
         PushKey(SDL_KEYDOWN, SDLK_RIGHT);
     }},
    {12, "r with boost held ends the round", [](Game&, Round&) { PushKey(SDL_KEYDOWN, SDLK_r); }},
};

constexpr Edge kEdgesA2[] = {
    {0, "the next round starts without boost, space still held; at speed 10 a point every 5 frames",
     [](Game&, Round& r) { ItemsAway(r), r.map.speed = 10, r.info.gauge = 50; }},
    {1, "the keys held over from the last round let go", [](Game&, Round&) {
         PushKey(SDL_KEYUP, SDLK_SPACE);
         PushKey(SDL_KEYUP, SDLK_UP);
         PushKey(SDL_KEYUP, SDLK_RIGHT);
     }},
    {10, "at speed 11 a point every 3 frames", [](Game&, Round& r) { r.map.speed = 11; }},
    {19, "at speed 12 still every 3 frames", [](Game&, Round& r) { r.map.speed = 12; }},
    {28, "the gauge stops at 89", [](Game&, Round& r) { r.info.gauge = kGaugeMax - 1; }},
    {34, "the strip wraps after 479 at speed 1", [](Game&, Round& r) { r.map.speed = 1, r.map.scroll = 479; }},
    {37, "and from 476 to 0 at speed 7", [](Game&, Round& r) { r.map.speed = 7, r.map.scroll = 476; }},
    {40, "an item touching the ship's right and bottom edge is picked up, one pixel further is not",
     [](Game&, Round& r) {
         r.map.speed = 1, r.info.gauge = 50;
         r.players[0].x = 100;  // items are kept wholly on screen: room on the left
         ItemsAtReach(r, +1);
     }},
    {42, "the same on the left and the top", [](Game&, Round& r) { ItemsAtReach(r, -1); }},
    {44, "an item adds 10 up to 89", [](Game&, Round& r) { r.info.gauge = kGaugeMax - 4, ItemsAtReach(r, +1); }},
    {46, "r, t and e in flight do nothing; an item ahead of the ship flying right is picked up by "
         "the ship, not its trail, and a fading one a frame later",
     [](Game&, Round& r) {
         for (SDLKey key : {SDLK_r, SDLK_t, SDLK_e, SDLK_RIGHT}) PushKey(SDL_KEYDOWN, key);
         ItemsAway(r);
         r.info.gauge = 50, r.players[0].x = 100;
         ItemAt(r, 0, 100 + kShipStep + 11, r.players[0].y);
         ItemAt(r, 1, 100 + kShipStep + 11, r.players[0].y + 10), r.items[1].alpha = kOpaque - 2 * kFadeStep;
     }},
    {48, "crashed", [](Game&, Round& r) {
         PushKey(SDL_KEYUP, SDLK_RIGHT);
         ItemsAway(r), r.players[0].x = kLeftCrashX - 1;
     }},
    {50, "t after the crash goes back to the title", [](Game&, Round&) { PushKey(SDL_KEYDOWN, SDLK_t); }},
};

constexpr Edge kEdgesB[] = {
    {0, "a shift of 155 must not crash", [](Game&, Round& r) { r.map.offsetY = kShiftCrash; }},
    {2, "nor one of -155", [](Game&, Round& r) { r.map.offsetY = -kShiftCrash; }},
    {4, "a shift of 156 crashes", [](Game&, Round& r) { r.map.offsetY = kShiftCrash + 1, r.info.gauge = 50; }},
    {5, "space pressed after the crash does nothing", [](Game&, Round&) { PushKey(SDL_KEYDOWN, SDLK_SPACE); }},
    {6, "e after the crash leaves", [](Game&, Round&) { PushKey(SDL_KEYDOWN, SDLK_e); }},
};
constexpr Edge kEdgesB2[] = {
    {0, "a shift of -156 crashes", [](Game& game, Round& r) { r.map.offsetY = -kShiftCrash - 1, game.score = 30000; }},
    {2, "the window's close button after the crash ends the round and saves Mode B's record",
     [](Game&, Round&) { PushQuit(); }},
};
constexpr Edge kEdgesA3[] = {
    {0, "Escape in flight ends the round and saves Mode A's record",
     [](Game& game, Round&) { game.score = 5000, PushKey(SDL_KEYDOWN, SDLK_ESCAPE); }},
};

// The title's keys: of two mode keys in one poll the first wins; e leaves the game.
void TitleKeys(Game& game) {
    const struct { const char* rule; SDLKey keys[2]; } cases[] = {
        {"b then a in one poll: Mode B", {SDLK_b, SDLK_a}}, {"e on the title leaves", {SDLK_e}}};
    for (const auto& c : cases) {
        game.GameInit();
        auto title = std::make_unique<TitleScene>();
        game.started = 0, game.mode = kModeA;
        std::printf("# frame %d: %s\n", frameCount, c.rule);
        for (SDLKey key : c.keys)
            if (key != SDLK_UNKNOWN) PushKey(SDL_KEYDOWN, key);
        const bool over = game.TitleFrame(*title);
        PrintFrameSum(game.screen);
        std::printf("  title over %d mode %d quit %d\n", over, game.mode, game.quit);
    }
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
    PlayRound(game, kModeA, kRoundA, ChangeRoundA, SDLK_r);
    PlayRound(game, kModeB, kRoundB, ChangeRoundB, SDLK_t);
    PlayEdges(game, kModeA, kEdgesA, 40);
    PlayEdges(game, kModeA, kEdgesA2, 70);
    PlayEdges(game, kModeB, kEdgesB, 10);
    PlayEdges(game, kModeB, kEdgesB2, 5);
    PlayEdges(game, kModeA, kEdgesA3, 2);
    TitleKeys(game);
    return 0;
}
