// Art: checks on the generated data folder, image/ in the build folder — the sprite
// sheet (every sprite where the game copies it from, black for transparent, never the
// wall grey) and the twenty cave maps (three colours, joins, room for the ship).
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

const std::string kBuild = COMET_BUILD_DIR;
const std::string kImage = kBuild + "/image";

struct Rect {
    int x, y, w, h;
};

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator<(const Rgb& o) const {
        return r != o.r ? r < o.r : g != o.g ? g < o.g : b < o.b;
    }
};
const Rgb kClear{20, 20, 20}, kGrey{155, 155, 155}, kBlack{0, 0, 0};

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

uint32_t Le(const std::string& s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(static_cast<uint8_t>(s[at + i])) << (8 * i);
    return v;
}

// A picture as loaded by SDL, kept as plain colours.
struct Picture {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    Rgb At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
    bool Wall(int x, int y) const { return At(x, y) == kGrey || At(x, y) == kBlack; }
};

bool Load(const std::string& path, Picture* out) {
    SDL_Surface* s = SDL_LoadBMP(path.c_str());
    if (!s) return false;
    out->w = s->w;
    out->h = s->h;
    out->px.clear();
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
            Uint32 raw = 0;
            for (int b = 0; b < s->format->BytesPerPixel; ++b) raw |= Uint32(p[b]) << (8 * b);
            Uint8 r, g, bl;
            SDL_GetRGB(raw, s->format, &r, &g, &bl);
            out->px.push_back({r, g, bl});
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return true;
}

std::vector<std::string> MapNames() {
    std::ifstream f(kImage + "/mapImg/map.dat");
    std::vector<std::string> names;
    std::string n;
    while (f >> n) names.push_back(n);
    return names;
}

// Every test needs the generated files; say so plainly when they are missing.
class ArtFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        sheet_ = new Picture;
        maps_ = new std::vector<Picture>;
        if (!Load(kImage + "/material.bmp", sheet_)) {
            missing_ = "no " + kImage + "/material.bmp: build the `art` target first";
            return;
        }
        for (const std::string& n : MapNames()) {
            Picture p;
            if (!Load(kBuild + "/" + n, &p)) {
                missing_ = "cannot load " + kBuild + "/" + n + ": build the `art` target first";
                return;
            }
            maps_->push_back(p);
        }
        if (maps_->size() < 20) missing_ = "map.dat names fewer than twenty maps";
    }
    static void TearDownTestSuite() {
        delete sheet_;
        delete maps_;
    }
    void SetUp() override { ASSERT_TRUE(missing_.empty()) << missing_; }

    static Picture* sheet_;
    static std::vector<Picture>* maps_;
    static std::string missing_;
};
Picture* ArtFiles::sheet_ = nullptr;
std::vector<Picture>* ArtFiles::maps_ = nullptr;
std::string ArtFiles::missing_;

using Art = ArtFiles;
using Caves = ArtFiles;

// ------------------------------------------------------------------ file format
void ExpectPlain24BitBmp(const std::string& path, int w, int h) {
    const std::string s = ReadFile(path);
    ASSERT_GE(s.size(), 54u) << path;
    EXPECT_EQ(s.substr(0, 2), "BM") << path;
    EXPECT_EQ(Le(s, 14, 4), 40u) << path << ": header";
    EXPECT_EQ(static_cast<int>(Le(s, 18, 4)), w) << path;
    EXPECT_EQ(static_cast<int>(Le(s, 22, 4)), h) << path;
    EXPECT_EQ(Le(s, 28, 2), 24u) << path << ": bits per pixel";
    EXPECT_EQ(Le(s, 30, 4), 0u) << path << ": compression";
    const size_t row = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(s.size(), 54 + row * h) << path << ": size";
}

TEST_F(Art, SheetIsA24BitBmpCoveringEverySprite) {
    EXPECT_GE(sheet_->w, 473);
    EXPECT_GE(sheet_->h, 309);
    ExpectPlain24BitBmp(kImage + "/material.bmp", sheet_->w, sheet_->h);
}

TEST_F(Caves, MapListNamesTwentyMapsFromTheGamesFolder) {
    const auto names = MapNames();
    ASSERT_GE(names.size(), 20u);
    std::set<std::string> distinct;
    for (size_t i = 0; i < 20; ++i) {
        EXPECT_LE(names[i].size(), 29u) << names[i];
        EXPECT_EQ(names[i].rfind("image/mapImg/", 0), 0u) << names[i] << " must be relative to the game";
        distinct.insert(names[i]);
        ExpectPlain24BitBmp(kBuild + "/" + names[i], 480, 320);
    }
    EXPECT_EQ(distinct.size(), 20u) << "twenty different maps";
}

// ------------------------------------------------------------------ the sprite sheet
const Rect kShip{0, 0, 12, 12}, kBoostA{0, 12, 12, 12}, kBoostB{64, 24, 12, 12};
const Rect kProgress{12, 0, 36, 8}, kGaugeA{12, 8, 89, 8}, kGaugeB{12, 16, 89, 8};
const Rect kItemA{0, 24, 32, 32}, kItemB{32, 24, 32, 32};
const Rect kHudFrame{102, 0, 104, 64}, kHudPanel{206, 0, 102, 51}, kTail{169, 15, 26, 10};
const Rect kLabelA{308, 0, 165, 15}, kLabelB{308, 15, 145, 15}, kNotice{207, 52, 75, 10};
const Rect kLogo{0, 75, 422, 117}, kModeA{0, 192, 105, 23}, kModeB{0, 215, 105, 23};
const Rect kRetry{0, 238, 97, 23}, kExit{0, 261, 85, 23}, kTitle{0, 284, 97, 23};
const Rect kGameOver{122, 192, 239, 117};
Rect Digit(int d) { return {12 * d, 64, 12, 10}; }

int Inked(const Picture& p, Rect r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) n += !(p.At(x, y) == kBlack);
    return n;
}

TEST_F(Art, SheetHasNoWallGrey) {
    for (int y = 0; y < sheet_->h; ++y)
        for (int x = 0; x < sheet_->w; ++x)
            ASSERT_FALSE(sheet_->At(x, y) == kGrey) << "wall grey at " << x << "," << y;
}

TEST_F(Art, EverySpriteRectangleHoldsAPicture) {
    const struct {
        const char* name;
        Rect r;
        int minInk;
    } sprites[] = {
        {"ship", kShip, 40},           {"boost A", kBoostA, 40},        {"boost B", kBoostB, 40},
        {"progress bar", kProgress, 36 * 8}, {"gauge A", kGaugeA, 89 * 8}, {"gauge B", kGaugeB, 89 * 8},
        {"item A", kItemA, 300},       {"item B", kItemB, 300},         {"HUD frame", kHudFrame, 300},
        {"HUD panel", kHudPanel, 102 * 51}, {"notice tail", kTail, 20}, {"record A", kLabelA, 80},
        {"record B", kLabelB, 80},     {"record notice", kNotice, 60},  {"logo", kLogo, 5000},
        {"mode A", kModeA, 600},       {"mode B", kModeB, 600},         {"retry", kRetry, 500},
        {"exit", kExit, 500},          {"title", kTitle, 500},          {"game over", kGameOver, 10000},
    };
    for (const auto& s : sprites) EXPECT_GE(Inked(*sheet_, s.r), s.minInk) << s.name;
    for (int d = 0; d < 10; ++d) EXPECT_GE(Inked(*sheet_, Digit(d)), 15) << "digit " << d;
}

std::vector<Rgb> Cell(const Picture& p, Rect r) {
    std::vector<Rgb> v;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) v.push_back(p.At(x, y));
    return v;
}

int Differing(const Picture& p, Rect a, Rect b) {
    const auto u = Cell(p, a), v = Cell(p, b);
    int n = 0;
    for (size_t i = 0; i < u.size(); ++i) n += !(u[i] == v[i]);
    return n;
}

TEST_F(Art, TenDigitsAreDistinctShapes) {
    // Compare ink masks, not colours: each digit must have a shape of its own.
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b) {
            int differ = 0;
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 12; ++x)
                    differ += (sheet_->At(12 * a + x, 64 + y) == kBlack) !=
                              (sheet_->At(12 * b + x, 64 + y) == kBlack);
            EXPECT_GE(differ, 6) << "digits " << a << " and " << b << " look alike";
        }
}

TEST_F(Art, BoostLookDiffersClearlyFromTheNormalShip) {
    EXPECT_GE(Differing(*sheet_, kShip, kBoostA), 40) << "Mode A boost";
    EXPECT_GE(Differing(*sheet_, kShip, kBoostB), 40) << "Mode B boost";
    EXPECT_GE(Differing(*sheet_, kItemA, kItemB), 200) << "the two modes' items";
}

// The ship, its trail and the items are on the frame when the walls are read back, also
// blended at part alpha over the cave, the clear colour and the white stars. Keeping
// every one of their colours clearly bluer than red means no blend can be a grey.
TEST_F(Art, SpritesDrawnBeforeWallTestsAreNeverGreyish) {
    for (Rect r : {kShip, kBoostA, kBoostB, kItemA, kItemB})
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) {
                const Rgb c = sheet_->At(x, y);
                if (c == kBlack) continue;
                EXPECT_GE(c.b - c.r, 24) << "pixel " << x << "," << y;
            }
}

// Bars are drawn from their left edge at any width: every column must show.
TEST_F(Art, BarsAreSolidAtEveryWidth) {
    for (Rect r : {kProgress, kGaugeA, kGaugeB})
        for (int x = r.x; x < r.x + r.w; ++x)
            for (int y = r.y; y < r.y + r.h; ++y)
                EXPECT_FALSE(sheet_->At(x, y) == kBlack) << "bar gap at " << x << "," << y;
}

// Where the HUD draws numbers and bars over the frame, the frame is see-through.
TEST_F(Art, HudFrameLeavesItsNumbersAndBarsClear) {
    const int fx = kHudFrame.x - 10, fy = kHudFrame.y - 0;  // frame at screen (10, 0)
    const Rect onScreen[] = {{14, 15, 60, 10}, {85, 30, 24, 10}, {16, 31, 36, 8}, {16, 47, 89, 8}};
    for (Rect s : onScreen)
        EXPECT_EQ(Inked(*sheet_, {s.x + fx, s.y + fy, s.w, s.h}), 0)
            << "frame ink under the HUD spot at screen " << s.x << "," << s.y;
    // The notice tail lies inside the frame's rectangle: the frame shows it after the score.
    EXPECT_GE(kTail.x, kHudFrame.x);
    EXPECT_LE(kTail.x + kTail.w, kHudFrame.x + kHudFrame.w);
    EXPECT_EQ(kTail.x - kHudFrame.x + 10, 77) << "tail right after the five score digits";
}

// A spot where nothing but one flat colour (transparent, or a plain backing) lies.
bool Plain(const Picture& p, Rect r) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (!(p.At(x, y) == p.At(r.x, r.y))) return false;
    return true;
}

TEST_F(Art, RecordLabelsLeaveTheirDigitSpotsPlain) {
    // Label A at (29,227) gets its digits at (41,232); label B at (308,227) at (367,232).
    EXPECT_TRUE(Plain(*sheet_, {kLabelA.x + 41 - 29, kLabelA.y + 5, 60, 10}));
    EXPECT_TRUE(Plain(*sheet_, {kLabelB.x + 367 - 308, kLabelB.y + 5, 60, 10}));
    // And they carry words beside the digits.
    EXPECT_FALSE(Plain(*sheet_, {kLabelA.x + 72, kLabelA.y + 5, 60, 10}));
    EXPECT_FALSE(Plain(*sheet_, {kLabelB.x, kLabelB.y + 5, 59, 10}));
    // Their top rows stay clear where the mode buttons above reach down over them.
    EXPECT_EQ(Inked(*sheet_, {kLabelA.x + 101, kLabelA.y, 64, 3}), 0);
    EXPECT_EQ(Inked(*sheet_, {kLabelB.x, kLabelB.y, 42, 3}), 0);
}

TEST_F(Art, LogoSpansItsRectangle) {
    int minX = kLogo.x + kLogo.w, maxX = -1, minY = kLogo.y + kLogo.h, maxY = -1;
    for (int y = kLogo.y; y < kLogo.y + kLogo.h; ++y)
        for (int x = kLogo.x; x < kLogo.x + kLogo.w; ++x)
            if (!(sheet_->At(x, y) == kBlack)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_GE(maxX - minX, kLogo.w * 7 / 10);
    EXPECT_GE(maxY - minY, kLogo.h * 7 / 10);
}

// ------------------------------------------------------------------ the caves
TEST_F(Caves, MapsUseOnlyTheClearColourAndTheTwoWallColours) {
    for (size_t m = 0; m < 20; ++m) {
        const Picture& p = (*maps_)[m];
        ASSERT_EQ(p.w, 480);
        ASSERT_EQ(p.h, 320);
        std::set<Rgb> colours(p.px.begin(), p.px.end());
        for (const Rgb& c : colours)
            EXPECT_TRUE(c == kClear || c == kGrey || c == kBlack)
                << "map " << m + 1 << " has " << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(colours.count(kClear), 1u) << "map " << m + 1 << " has no open space";
        EXPECT_EQ(colours.count(kGrey), 1u) << "map " << m + 1;
        EXPECT_EQ(colours.count(kBlack), 1u) << "map " << m + 1;
    }
}

std::vector<bool> WallColumn(const Picture& p, int x) {
    std::vector<bool> v;
    for (int y = 0; y < p.h; ++y) v.push_back(p.Wall(x, y));
    return v;
}

TEST_F(Caves, EveryMapsLeftEdgeContinuesEveryMapsRightEdge) {
    for (size_t i = 0; i < 20; ++i)
        for (size_t j = 0; j < 20; ++j) {
            if (i == j) continue;
            EXPECT_EQ(WallColumn((*maps_)[i], 479), WallColumn((*maps_)[j], 0))
                << "map " << i + 1 << " followed by map " << j + 1;
        }
}

// Probes above or below the screen never block, so a cave open at its top or bottom
// row would let the ship fly out of it.
TEST_F(Caves, RockSealsTheTopAndBottomOfEveryMap) {
    for (size_t m = 0; m < 20; ++m)
        for (int x = 0; x < 480; ++x) {
            EXPECT_TRUE((*maps_)[m].Wall(x, 0)) << "map " << m + 1 << " column " << x;
            EXPECT_TRUE((*maps_)[m].Wall(x, 319)) << "map " << m + 1 << " column " << x;
        }
}

TEST_F(Caves, FirstMapIsOpenAroundTheShipsStart) {
    const Picture& first = (*maps_)[0];
    // The ship starts at x 0, rows 154..165; leave it room all round.
    for (int y = 154 - 30; y <= 165 + 30; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_FALSE(first.Wall(x, y)) << x << "," << y;
}

// No gap between two rocks, down a column or along a row, is narrower than 20 pixels.
TEST_F(Caves, PassagesAreNeverNarrowerThan20Pixels) {
    for (size_t m = 0; m < 20; ++m) {
        const Picture& p = (*maps_)[m];
        for (int x = 0; x < 480; ++x) {
            int runStart = -1;
            for (int y = 0; y < 320; ++y) {
                if (!p.Wall(x, y)) {
                    if (runStart < 0) runStart = y;
                } else if (runStart >= 0) {
                    if (runStart > 0) {
                        EXPECT_GE(y - runStart, 20) << "map " << m + 1 << " column " << x;
                    }
                    runStart = -1;
                }
            }
        }
        for (int y = 0; y < 320; ++y) {
            int runStart = -1;
            for (int x = 0; x < 480; ++x) {
                if (!p.Wall(x, y)) {
                    if (runStart < 0) runStart = x;
                } else if (runStart >= 0) {
                    if (runStart > 0) {
                        EXPECT_GE(x - runStart, 20) << "map " << m + 1 << " row " << y;
                    }
                    runStart = -1;
                }
            }
        }
    }
}

TEST_F(Caves, EachMapHasAShapeOfItsOwn) {
    for (size_t i = 0; i < 20; ++i)
        for (size_t j = i + 1; j < 20; ++j) {
            int differ = 0;
            for (int y = 0; y < 320; ++y)
                for (int x = 0; x < 480; ++x) differ += (*maps_)[i].Wall(x, y) != (*maps_)[j].Wall(x, y);
            EXPECT_GE(differ, 480 * 320 / 20) << "maps " << i + 1 << " and " << j + 1 << " are too alike";
        }
}

// ------------------------------------------------------------------ the generator
// Same sources, same bytes: drawing the art again gives identical files.
TEST_F(Art, GeneratorRedrawsTheSameBytes) {
    std::string source = __FILE__;
    source = source.substr(0, source.rfind('/'));
    source = source.substr(0, source.rfind('/'));
    const std::string tool = kBuild + "/assets/comet-artgen";
    std::ifstream probe(tool);
    ASSERT_TRUE(probe.good()) << "no generator at " << tool;
    testsupport::ScratchDir scratch;
    const std::string cmd = "'" + tool + "' '" + source + "/assets/caves' '" + scratch.path() + "/image'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    EXPECT_EQ(ReadFile(scratch.path() + "/image/material.bmp"), ReadFile(kImage + "/material.bmp"));
    EXPECT_EQ(ReadFile(scratch.path() + "/image/mapImg/map.dat"), ReadFile(kImage + "/mapImg/map.dat"));
    for (const std::string& n : MapNames())
        EXPECT_EQ(ReadFile(scratch.path() + "/" + n), ReadFile(kBuild + "/" + n)) << n;
}

}  // namespace
