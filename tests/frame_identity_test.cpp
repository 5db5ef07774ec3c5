// Frame identity: the shortcuts the game takes to draw a frame (stars without their
// whole-frame self-blit, cave images in the display's format and run-length keyed)
// must leave every frame pixel for pixel as the literal work draws it. A scripted
// round with the real art is played twice from the same seed, once as shipped and
// once with the literal work, and every frame is compared.
#include <gtest/gtest.h>
#include <SDL_image.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr unsigned kSeed = 20240611;
constexpr int kFrames = 160;
constexpr int kGlanceFrames = 20;    // enough to see a changed pixel of the opening frames
constexpr int kStartScore = 850;     // the speed step at 1000 falls inside the round
constexpr int kStartGauge = 60;      // enough for the scripted boost
constexpr int kCrashFrame = 135;     // the ship is put off the left edge here
constexpr int kCrashX = -20;
constexpr Uint32 kSheetKey = 0;      // black is transparent on the sheet
constexpr Uint32 kCaveKey = 0x141414;
constexpr int kMinDistinctFrames = kFrames - 10;  // the picture really moves

// One frame, as a 64-bit FNV-1a over the visible bytes of each row, eight at a time.
Uint64 FrameHash(const SDL_Surface* s) {
    constexpr Uint64 kOffset = 14695981039346656037ull;
    constexpr Uint64 kPrime = 1099511628211ull;
    Uint64 h = kOffset;
    const int rowBytes = s->w * s->format->BytesPerPixel;
    for (int y = 0; y < s->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        int i = 0;
        for (; i + 8 <= rowBytes; i += 8) {
            Uint64 word;
            std::memcpy(&word, row + i, sizeof word);
            h = (h ^ word) * kPrime;
        }
        for (; i < rowBytes; ++i) h = (h ^ row[i]) * kPrime;
    }
    return h;
}

void Press(int frame, int at, Uint8 type, SDLKey sym) {
    if (frame == at) PushKey(type, sym);
}

// The same keys in every run: climbing, sinking (in Mode B the strip shifts), a boost
// through the walls, a drift back left, and a crash with the game-over overlay.
void Script(int frame, Round& round) {
    Press(frame, 0, SDL_KEYDOWN, SDLK_RIGHT);
    Press(frame, 20, SDL_KEYDOWN, SDLK_UP);
    Press(frame, 40, SDL_KEYUP, SDLK_UP);
    Press(frame, 41, SDL_KEYDOWN, SDLK_DOWN);
    Press(frame, 60, SDL_KEYUP, SDLK_DOWN);
    Press(frame, 65, SDL_KEYDOWN, SDLK_SPACE);
    Press(frame, 95, SDL_KEYUP, SDLK_SPACE);
    Press(frame, 100, SDL_KEYUP, SDLK_RIGHT);
    Press(frame, 100, SDL_KEYDOWN, SDLK_LEFT);
    Press(frame, 130, SDL_KEYUP, SDLK_LEFT);
    if (frame == kCrashFrame) round.players[0].x = kCrashX;
}

// What the literal work draws with: the sheet and the caves as the files load, keyed
// without run-length encoding, and a second header on the display's own pixels, so
// each star's Draw blits the whole frame onto itself.
struct LiteralArt {
    SDL_Surface* sheet = nullptr;
    std::vector<SDL_Surface*> caves;
    SDL_Surface* frameAlias = nullptr;

    ~LiteralArt() {
        if (sheet) SDL_FreeSurface(sheet);
        for (SDL_Surface* cave : caves)
            if (cave) SDL_FreeSurface(cave);
        if (frameAlias) SDL_FreeSurface(frameAlias);
    }
};

SDL_Surface* LoadKeyed(const char* path, Uint32 key) {
    SDL_Surface* image = IMG_Load(path);
    if (image) SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
    return image;
}

// The caves in the order of the map list, as Map fills its slots.
std::vector<SDL_Surface*> LoadCaves() {
    std::vector<SDL_Surface*> caves;
    FILE* list = std::fopen("image/mapImg/map.dat", "r");
    if (!list) return caves;
    char name[kMapNameMax + 1];
    while (caves.size() < kMapCount && std::fscanf(list, "%29s", name) == 1)
        caves.push_back(LoadKeyed(name, kCaveKey));
    std::fclose(list);
    return caves;
}

SDL_Surface* AliasOf(SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    return SDL_CreateRGBSurfaceFrom(s->pixels, s->w, s->h, f->BitsPerPixel, s->pitch, f->Rmask,
                                    f->Gmask, f->Bmask, f->Amask);
}

enum class Drawing { kAsShipped, kLiteral };

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

    std::unique_ptr<LiteralArt> LoadLiteralArt() {
        auto art = std::make_unique<LiteralArt>();
        art->sheet = LoadKeyed("image/material.bmp", kSheetKey);
        art->caves = LoadCaves();
        art->frameAlias = AliasOf(game->screen);
        return art;
    }

    // Hands the round the literal art; the Map frees the caves it is given.
    void UseLiteralArt(Round& round, LiteralArt& art) {
        for (int slot = 0; slot < kMapCount; ++slot) {
            SDL_FreeSurface(round.map.mapImage[slot]);
            round.map.mapImage[slot] = art.caves[slot];
            art.caves[slot] = nullptr;
        }
        for (BackGround& star : round.stars) star.surface = art.frameAlias;
    }

    // Plays the scripted round and returns the hash of every frame.
    std::vector<Uint64> Play(int mode, Drawing drawing, LiteralArt* art = nullptr,
                             int frames = kFrames) {
        std::vector<Uint64> hashes;
        StartCapture();
        game->GameInit();
        game->mode = mode;
        game->started = 1;
        game->score = kStartScore;
        SDL_Surface* shippedSheet = game->material;
        if (drawing == Drawing::kLiteral) game->material = art->sheet;
        srand(kSeed);
        auto round = std::make_unique<Round>();
        StopCapture();
        for (const SDL_Surface* image : round->map.mapImage)
            EXPECT_NE(image, nullptr) << "a cave of the real art did not load";
        if (drawing == Drawing::kLiteral) UseLiteralArt(*round, *art);
        round->info.gauge = kStartGauge;

        int showTitle = 0;
        for (int frame = 0; frame < frames; ++frame) {
            Script(frame, *round);
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
        SDL_Event drained;
        while (SDL_PollEvent(&drained)) {
        }
        return hashes;
    }

    // The first frame that differs, or -1.
    static int FirstDifference(const std::vector<Uint64>& a, const std::vector<Uint64>& b) {
        if (a.size() != b.size()) return 0;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) return static_cast<int>(i);
        return -1;
    }

    void ExpectSameFrames(int mode) {
        const std::vector<Uint64> shipped = Play(mode, Drawing::kAsShipped);
        auto art = LoadLiteralArt();
        ASSERT_NE(art->sheet, nullptr);
        ASSERT_EQ(art->caves.size(), static_cast<size_t>(kMapCount));
        const std::vector<Uint64> literal = Play(mode, Drawing::kLiteral, art.get());
        ASSERT_EQ(shipped.size(), static_cast<size_t>(kFrames));
        EXPECT_EQ(FirstDifference(shipped, literal), -1) << "first frame that differs";
        std::vector<Uint64> distinct(shipped);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        EXPECT_GE(distinct.size(), static_cast<size_t>(kMinDistinctFrames));
    }
};

// Raises one colour channel of the pixel at (x, y) by one level.
void NudgePixel(SDL_Surface* s, int x, int y) {
    Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    p[0] = static_cast<Uint8>(p[0] + 1);
}

}  // namespace

TEST_F(FrameIdentity, ModeARoundDrawsTheSameFramesAsTheLiteralWork) { ExpectSameFrames(kModeA); }

TEST_F(FrameIdentity, ModeBRoundDrawsTheSameFramesAsTheLiteralWork) { ExpectSameFrames(kModeB); }

// The comparison is sharp: one cave pixel one level off is noticed.
TEST_F(FrameIdentity, OneCavePixelChangedByOneLevelIsNoticed) {
    const std::vector<Uint64> shipped = Play(kModeA, Drawing::kAsShipped, nullptr, kGlanceFrames);
    auto art = LoadLiteralArt();
    ASSERT_EQ(art->caves.size(), static_cast<size_t>(kMapCount));
    NudgePixel(art->caves[0], kScreenWidth - 100, kScreenHeight - 10);  // slot 0 opens the strip
    const std::vector<Uint64> literal = Play(kModeA, Drawing::kLiteral, art.get(), kGlanceFrames);
    EXPECT_NE(FirstDifference(shipped, literal), -1);
}

// ... and so does one ship pixel of the sheet one level off.
TEST_F(FrameIdentity, OneShipPixelChangedByOneLevelIsNoticed) {
    const std::vector<Uint64> shipped = Play(kModeA, Drawing::kAsShipped, nullptr, kGlanceFrames);
    auto art = LoadLiteralArt();
    ASSERT_NE(art->sheet, nullptr);
    constexpr int kShipCentre = kShipSize / 2;
    NudgePixel(art->sheet, kShipCentre, kShipCentre);
    const std::vector<Uint64> literal = Play(kModeA, Drawing::kLiteral, art.get(), kGlanceFrames);
    EXPECT_NE(FirstDifference(shipped, literal), -1);
}
