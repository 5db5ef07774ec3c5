// Golden frames: the title and two scripted rounds, stepped without pacing from a fixed
// seed with the real art, every frame checksummed and compared with the checksums kept
// in tests/golden/frames.txt. Any visible change to what the game draws fails here.
// When the picture is meant to change, scripts/refresh-golden.sh stores new checksums
// and shows the frames before and after. The frames of note are saved as BMPs in
// golden/ of the build folder for a person to look at.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const std::string kStore = COMET_SOURCE_DIR "/tests/golden/frames.txt";

struct Press {
    int frame;
    Uint8 type;
    SDLKey key;
};

// One scene: the mode of its round (or the title), its length, the keys, what the
// script does to the round at a frame, and the frames worth a look.
struct Scene {
    const char* name;
    int mode;  // kModeA, kModeB, or -1 for the title
    int frames;
    std::vector<Press> keys;
    std::function<void(Game&, Round&, int frame)> poke;
    std::vector<int> shown;
};

void NoPoke(Game&, Round&, int) {}

// Mode A: score 850 against a record of 900 (speed 2 and the record notice come within
// the scene), energy for a boost, an item put under the ship once it is opaque, the
// trail up, down and through a wall, and a crash at frame 250 with the slide and overlay.
void PokeModeA(Game& game, Round& r, int frame) {
    if (frame == 0) game.score = 850, r.info.gauge = 60;
    if (frame == 120) r.items[0].pos.x = r.players[0].x, r.items[0].pos.y = r.players[0].y;
    if (frame == 250) r.players[0].x = -20;
}

// Mode B: the strip shifted up and down, a boost sideways, then shifted out of reach.
void PokeModeB(Game&, Round& r, int frame) {
    if (frame == 0) r.info.gauge = 40;
    if (frame == 150) r.map.offsetY = 160;
}

const Scene kScenes[] = {
    {"title", -1, 60, {}, NoPoke, {60}},
    {"round-a", kModeA, 320,
     {{0, SDL_KEYDOWN, SDLK_RIGHT}, {25, SDL_KEYUP, SDLK_RIGHT}, {25, SDL_KEYDOWN, SDLK_UP},
      {45, SDL_KEYUP, SDLK_UP}, {50, SDL_KEYDOWN, SDLK_DOWN}, {75, SDL_KEYUP, SDLK_DOWN},
      {90, SDL_KEYDOWN, SDLK_SPACE}, {90, SDL_KEYDOWN, SDLK_RIGHT}, {100, SDL_KEYUP, SDLK_RIGHT},
      {118, SDL_KEYUP, SDLK_SPACE}, {160, SDL_KEYDOWN, SDLK_LEFT}, {180, SDL_KEYUP, SDLK_LEFT}},
     PokeModeA, {95, 140, 320}},
    {"round-b", kModeB, 200,
     {{0, SDL_KEYDOWN, SDLK_RIGHT}, {20, SDL_KEYUP, SDLK_RIGHT}, {20, SDL_KEYDOWN, SDLK_UP},
      {60, SDL_KEYUP, SDLK_UP}, {60, SDL_KEYDOWN, SDLK_DOWN}, {100, SDL_KEYUP, SDLK_DOWN},
      {105, SDL_KEYDOWN, SDLK_SPACE}, {105, SDL_KEYDOWN, SDLK_RIGHT}, {115, SDL_KEYUP, SDLK_RIGHT},
      {130, SDL_KEYUP, SDLK_SPACE}},
     PokeModeB, {90, 110, 200}},
};

// FNV-1a over the visible bytes of a frame (not the padding at the end of each row).
Uint64 Checksum(const SDL_Surface* s, Uint64 h = 14695981039346656037ull) {
    for (int y = 0; y < s->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        for (int i = 0; i < s->w * s->format->BytesPerPixel; ++i) h = (h ^ row[i]) * 1099511628211ull;
    }
    return h;
}

// Blends differ by one level between SDL builds: each runtime keeps its own checksums.
std::string Runtime() {
    const SDL_version* v = SDL_Linked_Version();
    return "sdl-" + std::to_string(v->major) + "." + std::to_string(v->minor) + "." + std::to_string(v->patch);
}

using Sums = std::map<std::string, std::string>;  // "runtime scene frame" (or "all") -> checksum

Sums ReadStore() {
    Sums sums;
    std::ifstream in(kStore);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string runtime, scene, frame, sum;
        if (line[0] != '#' && fields >> runtime >> scene >> frame >> sum) sums[runtime + " " + scene + " " + frame] = sum;
    }
    return sums;
}

void WriteStore(const Sums& sums) {
    std::ofstream out(kStore);
    out << "# runtime scene frame checksum: written by scripts/refresh-golden.sh\n";
    for (const auto& [key, sum] : sums) out << key << " " << sum << "\n";
}

std::string Hex(Uint64 v) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

struct GoldenFrames : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<Game> game;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(symlink(COMET_BUILD_DIR "/image", "image"), 0);
        dir.Write("Rec.dat", "900\n4071\n");
        StartCapture();
        game = std::make_unique<Game>();
        game->GameInit();
        StopCapture();
        ASSERT_TRUE(game->Ready());
    }

    // Steps the scene and returns the checksum of each shown frame, and of all frames in turn.
    Sums Play(const Scene& scene) {
        Sums sums;
        Uint64 all = 0;
        srand(20261206);
        StartCapture();
        game->GameInit();
        auto title = scene.mode < 0 ? std::make_unique<TitleScene>() : nullptr;
        auto round = scene.mode < 0 ? nullptr : std::make_unique<Round>();
        game->mode = scene.mode < 0 ? kModeA : scene.mode;
        game->started = scene.mode < 0 ? 0 : 1;
        int showTitle = 0;
        for (int frame = 1; frame <= scene.frames; ++frame) {
            for (const Press& p : scene.keys)
                if (p.frame == frame - 1) PushKey(p.type, p.key);
            if (round) scene.poke(*game, *round, frame - 1);
            const bool ended = title ? game->TitleFrame(*title) : game->RoundFrame(*round, &showTitle);
            EXPECT_FALSE(ended) << scene.name << " ended at frame " << frame;
            all = Checksum(game->screen, all);
            for (int shown : scene.shown) {
                if (shown != frame) continue;
                sums[std::string(scene.name) + " " + std::to_string(frame)] = Hex(Checksum(game->screen));
                SaveFrame(scene.name, frame);
            }
        }
        StopCapture();
        sums[std::string(scene.name) + " all"] = Hex(all);
        return sums;
    }

    void SaveFrame(const std::string& scene, int frame) {
        const std::string path = COMET_BUILD_DIR "/golden/" + Runtime() + "/" + scene + "-" + std::to_string(frame) + ".bmp";
        WriteSurfaceBmp(path, game->screen);
    }
};

}  // namespace

TEST_F(GoldenFrames, EveryFrameOfTheTitleAndTheScriptedRoundsLooksAsStored) {
    const bool refresh = getenv("COMET_REFRESH_GOLDEN") != nullptr;
    Sums stored = ReadStore();
    for (const Scene& scene : kScenes) {
        for (const auto& [key, sum] : Play(scene)) {
            const std::string where = Runtime() + " " + key;
            if (refresh) stored[where] = sum;
            else if (!stored.count(where)) ADD_FAILURE() << "no checksum for " << where << ": run scripts/refresh-golden.sh";
            else EXPECT_EQ(sum, stored[where]) << where << " changed; the frames are in golden/ of the build folder";
        }
    }
    if (refresh) WriteStore(stored);
}
