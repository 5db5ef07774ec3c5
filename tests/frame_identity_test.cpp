// Frame identity: the shortcuts the game takes to draw a frame (stars without their
// whole-frame self-blit, cave images in the display's format and run-length keyed)
// must leave every frame pixel for pixel as the literal work draws it. A scripted
// round with the real art is played twice from the same seed, once as shipped and
// once with the literal work, and every frame is compared.
#include <gtest/gtest.h>
#include <SDL_image.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kFrames = 160;
constexpr int kGlanceFrames = 20;  // enough to see a changed pixel of the opening frames
constexpr int kCrashFrame = 135;   // the ship is put off the left edge here

// One frame as a hash of its visible bytes (the padding at the end of each row is not).
size_t FrameHash(const SDL_Surface* s) {
    std::string bytes;
    for (int y = 0; y < s->h; ++y)
        bytes.append(static_cast<const char*>(s->pixels) + y * s->pitch, s->w * s->format->BytesPerPixel);
    return std::hash<std::string>()(bytes);
}

// The same keys in every run: climbing, sinking (in Mode B the strip shifts), a boost
// through the walls, a drift back left, and a crash with the game-over overlay.
const struct {
    int frame;
    Uint8 type;
    SDLKey key;
} kScript[] = {{0, SDL_KEYDOWN, SDLK_RIGHT}, {20, SDL_KEYDOWN, SDLK_UP},     {40, SDL_KEYUP, SDLK_UP},
               {41, SDL_KEYDOWN, SDLK_DOWN}, {60, SDL_KEYUP, SDLK_DOWN},     {65, SDL_KEYDOWN, SDLK_SPACE},
               {95, SDL_KEYUP, SDLK_SPACE},  {100, SDL_KEYUP, SDLK_RIGHT},   {100, SDL_KEYDOWN, SDLK_LEFT},
               {130, SDL_KEYUP, SDLK_LEFT}};

SDL_Surface* LoadKeyed(const char* path, Uint32 key) {
    SDL_Surface* image = IMG_Load(path);
    if (image) SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
    return image;
}

// What the literal work draws with: the sheet and the caves (in the order of the map
// list, as Map fills its slots) as the files load, keyed without run-length encoding,
// and a second header on the display's own pixels, so each star's Draw blits the whole
// frame onto itself.
struct LiteralArt {
    explicit LiteralArt(SDL_Surface* screen)
        : sheet(LoadKeyed("image/material.bmp", 0)),
          frameAlias(SDL_CreateRGBSurfaceFrom(screen->pixels, screen->w, screen->h,
                                              screen->format->BitsPerPixel, screen->pitch,
                                              screen->format->Rmask, screen->format->Gmask,
                                              screen->format->Bmask, screen->format->Amask)) {
        FILE* list = std::fopen("image/mapImg/map.dat", "r");
        char name[kMapNameMax + 1];
        while (list && caves.size() < kMapCount && std::fscanf(list, "%29s", name) == 1)
            caves.push_back(LoadKeyed(name, kClearRaw));
        if (list) std::fclose(list);
    }
    ~LiteralArt() {
        for (SDL_Surface* s : caves) SDL_FreeSurface(s);  // null once handed to a Map
        SDL_FreeSurface(sheet);
        SDL_FreeSurface(frameAlias);
    }
    SDL_Surface* sheet;
    SDL_Surface* frameAlias;
    std::vector<SDL_Surface*> caves;
};

struct FrameIdentity : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<Game> game;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(symlink(COMET_BUILD_DIR "/image", "image"), 0) << "no art in " COMET_BUILD_DIR;
        StartCapture();
        game = std::make_unique<Game>();
        StopCapture();
        ASSERT_TRUE(game->Ready());
    }
    void TearDown() override { game.reset(); }

    // Plays the scripted round, as shipped or (given `art`) with the literal work, and
    // returns the hash of every frame.
    std::vector<size_t> Play(int mode, LiteralArt* art = nullptr, int frames = kFrames) {
        std::vector<size_t> hashes;
        StartCapture();
        game->GameInit();
        game->mode = mode;
        game->started = 1;
        game->score = 850;  // the speed step at 1000 falls inside the round
        SDL_Surface* shippedSheet = game->material;
        if (art) game->material = art->sheet;
        srand(20240611);
        auto round = std::make_unique<Round>();
        StopCapture();
        for (const SDL_Surface* image : round->map.mapImage)
            EXPECT_NE(image, nullptr) << "a cave of the real art did not load";
        if (art) {
            for (int slot = 0; slot < kMapCount; ++slot) {
                SDL_FreeSurface(round->map.mapImage[slot]);  // the Map frees the cave it is given
                round->map.mapImage[slot] = art->caves[slot];
                art->caves[slot] = nullptr;
            }
            for (BackGround& star : round->stars) star.surface = art->frameAlias;
        }
        round->info.gauge = 60;  // enough for the scripted boost

        int showTitle = 0;
        for (int frame = 0; frame < frames; ++frame) {
            for (const auto& press : kScript)
                if (press.frame == frame) PushKey(press.type, press.key);
            if (frame == kCrashFrame) round->players[0].x = -20;
            StartCapture();
            const bool ended = game->RoundFrame(*round, &showTitle);
            StopCapture();
            if (ended) {
                ADD_FAILURE() << "the round ended at frame " << frame;
                break;
            }
            hashes.push_back(FrameHash(game->screen));
        }
        if (frames > kCrashFrame) {
            EXPECT_EQ(game->gameOver, 1) << "the script reaches game over";
        }
        round.reset();
        game->material = shippedSheet;
        for (SDL_Event drained; SDL_PollEvent(&drained);) {
        }
        return hashes;
    }

    void ExpectSameFrames(int mode) {
        const std::vector<size_t> shipped = Play(mode);
        LiteralArt art(game->screen);
        ASSERT_NE(art.sheet, nullptr);
        ASSERT_EQ(art.caves.size(), static_cast<size_t>(kMapCount));
        const std::vector<size_t> literal = Play(mode, &art);
        ASSERT_EQ(shipped.size(), static_cast<size_t>(kFrames));
        for (int frame = 0; frame < kFrames; ++frame)
            ASSERT_EQ(shipped[frame], literal[frame]) << "first frame that differs: " << frame;
        EXPECT_GE(std::set<size_t>(shipped.begin(), shipped.end()).size(), size_t(kFrames - 10))
            << "the picture really moves";
    }
};

}  // namespace

TEST_F(FrameIdentity, ModeARoundDrawsTheSameFramesAsTheLiteralWork) { ExpectSameFrames(kModeA); }

TEST_F(FrameIdentity, ModeBRoundDrawsTheSameFramesAsTheLiteralWork) { ExpectSameFrames(kModeB); }

// The comparison is sharp: one cave pixel, or one ship pixel of the sheet, one level off
// is noticed.
TEST_F(FrameIdentity, OnePixelOfACaveOrTheShipChangedByOneLevelIsNoticed) {
    const std::vector<size_t> shipped = Play(kModeA, nullptr, kGlanceFrames);
    for (bool cave : {true, false}) {
        LiteralArt art(game->screen);
        ASSERT_EQ(art.caves.size(), static_cast<size_t>(kMapCount));
        SDL_Surface* s = cave ? art.caves[0] : art.sheet;  // slot 0 opens the strip
        const int x = cave ? kScreenWidth - 100 : kShipSize / 2, y = cave ? kScreenHeight - 10 : kShipSize / 2;
        Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
        ++p[0];
        EXPECT_NE(Play(kModeA, &art, kGlanceFrames), shipped) << (cave ? "cave" : "ship");
    }
}
