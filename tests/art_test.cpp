// Art: checks on the generated data folder, image/ in the build folder — the sprite
// sheet (every sprite where the game copies it from, black for transparent, never the
// wall grey) and the twenty cave maps (three colours, joins, room for the ship).
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"

using testsupport::ReadFileBytes;

namespace {

const std::string kBuild = COMET_BUILD_DIR;
const std::string kImage = kBuild + "/image";
constexpr Uint32 kClear = 0x141414, kGrey = 0x9b9b9b, kBlack = 0;

struct Rect {
    int x, y, w, h;
};

struct Picture {
    int w = 0, h = 0;
    std::vector<Uint32> px;  // 0xRRGGBB
    Uint32 At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
    bool Wall(int x, int y) const { return At(x, y) == kGrey || At(x, y) == kBlack; }
};

std::vector<std::string> MapNames() {
    std::ifstream f(kImage + "/mapImg/map.dat");
    std::vector<std::string> names;
    for (std::string n; f >> n;) names.push_back(n);
    return names;
}

struct ArtFiles {
    Picture sheet;
    std::vector<Picture> maps;
    std::string missing;  // why the files cannot be checked, "" when they can
};

const ArtFiles& Files() {
    static const ArtFiles files = [] {
        ArtFiles f;
        const auto load = [&f](const std::string& path, Picture* p) {
            p->px = testsupport::LoadRgb(path, &p->w, &p->h);
            if (p->px.empty()) f.missing = "cannot load " + path + ": build the `art` target first";
        };
        load(kImage + "/material.bmp", &f.sheet);
        for (const std::string& n : MapNames()) {
            f.maps.emplace_back();
            load(kBuild + "/" + n, &f.maps.back());
        }
        if (f.missing.empty() && f.maps.size() < 20) f.missing = "map.dat names fewer than twenty maps";
        return f;
    }();
    return files;
}

class Art : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Files().missing, ""); }
    const Picture& sheet = Files().sheet;
    const std::vector<Picture>& maps = Files().maps;
};
using Caves = Art;

// ------------------------------------------------------------------ file format
uint32_t Le(const std::string& s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(static_cast<uint8_t>(s[at + i])) << (8 * i);
    return v;
}

// Signature, header size, width, height, bits per pixel, compression and file size.
void ExpectPlain24BitBmp(const std::string& path, uint32_t w, uint32_t h) {
    const std::string s = ReadFileBytes(path);
    ASSERT_GE(s.size(), 54u) << path;
    const std::vector<uint32_t> found{Le(s, 0, 2), Le(s, 14, 4), Le(s, 18, 4), Le(s, 22, 4),
                                      Le(s, 28, 2), Le(s, 30, 4), uint32_t(s.size())};
    EXPECT_EQ(found, (std::vector<uint32_t>{0x4d42, 40, w, h, 24, 0, 54 + (w * 3 + 3) / 4 * 4 * h})) << path;
}

TEST_F(Art, SheetAndTwentyDistinctMapsArePlain24BitBmpsNamedFromTheGamesFolder) {
    EXPECT_GE(sheet.w, 473);
    EXPECT_GE(sheet.h, 309);
    ExpectPlain24BitBmp(kImage + "/material.bmp", sheet.w, sheet.h);
    const auto names = MapNames();
    for (size_t i = 0; i < 20; ++i) {
        EXPECT_LE(names[i].size(), 29u) << names[i];
        EXPECT_EQ(names[i].rfind("image/mapImg/", 0), 0u) << names[i] << " must be relative to the game";
        ExpectPlain24BitBmp(kBuild + "/" + names[i], 480, 320);
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.begin() + 20).size(), 20u);
}

// ------------------------------------------------------------------ the sprite sheet
const Rect kShip{0, 0, 12, 12}, kBoostA{0, 12, 12, 12}, kBoostB{64, 24, 12, 12};
const Rect kProgress{12, 0, 36, 8}, kGaugeA{12, 8, 89, 8}, kGaugeB{12, 16, 89, 8};
const Rect kItemA{0, 24, 32, 32}, kItemB{32, 24, 32, 32};
const Rect kHudFrame{102, 0, 104, 64}, kLabelA{308, 0, 165, 15}, kLabelB{308, 15, 145, 15};

template <typename Pred>
int Count(const Picture& p, Rect r, Pred pred) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) n += pred(p.At(x, y));
    return n;
}
bool IsInk(Uint32 c) { return c != kBlack; }
int Inked(const Picture& p, Rect r) { return Count(p, r, IsInk); }

TEST_F(Art, SheetHasNoWallGrey) {
    EXPECT_EQ(Count(sheet, {0, 0, sheet.w, sheet.h}, [](Uint32 c) { return c == kGrey; }), 0);
}

TEST_F(Art, EverySpriteRectangleHoldsAPicture) {
    const struct {
        const char* name;
        Rect r;
        int minInk;
    } sprites[] = {
        {"ship", kShip, 40}, {"boost A", kBoostA, 40}, {"boost B", kBoostB, 40},
        {"progress bar", kProgress, 36 * 8}, {"gauge A", kGaugeA, 89 * 8}, {"gauge B", kGaugeB, 89 * 8},
        {"item A", kItemA, 300}, {"item B", kItemB, 300}, {"HUD frame", kHudFrame, 300},
        {"HUD panel", {206, 0, 102, 51}, 102 * 51}, {"notice tail", {169, 15, 26, 10}, 20},
        {"record A", kLabelA, 80}, {"record B", kLabelB, 80}, {"record notice", {207, 52, 75, 10}, 60},
        {"logo", {0, 75, 422, 117}, 5000}, {"mode A", {0, 192, 105, 23}, 600},
        {"mode B", {0, 215, 105, 23}, 600}, {"retry", {0, 238, 97, 23}, 500},
        {"exit", {0, 261, 85, 23}, 500}, {"title", {0, 284, 97, 23}, 500},
        {"game over", {122, 192, 239, 117}, 10000},
    };
    for (const auto& s : sprites) EXPECT_GE(Inked(sheet, s.r), s.minInk) << s.name;
    for (int d = 0; d < 10; ++d) EXPECT_GE(Inked(sheet, {12 * d, 64, 12, 10}), 15) << "digit " << d;
}

// Compares ink masks (digits) or colours (the rest) of two equal-sized cells.
int Differing(const Picture& p, Rect a, Rect b, bool inkOnly) {
    int n = 0;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x) {
            const Uint32 u = p.At(a.x + x, a.y + y), v = p.At(b.x + x, b.y + y);
            n += inkOnly ? IsInk(u) != IsInk(v) : u != v;
        }
    return n;
}

TEST_F(Art, TenDigitsAreDistinctShapes) {
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            EXPECT_GE(Differing(sheet, {12 * a, 64, 12, 10}, {12 * b, 64, 12, 10}, true), 6)
                << "digits " << a << " and " << b << " look alike";
}

TEST_F(Art, BoostLookAndTheTwoModesItemsDifferClearly) {
    EXPECT_GE(Differing(sheet, kShip, kBoostA, false), 40) << "Mode A boost";
    EXPECT_GE(Differing(sheet, kShip, kBoostB, false), 40) << "Mode B boost";
    EXPECT_GE(Differing(sheet, kItemA, kItemB, false), 200) << "the two modes' items";
}

// The ship, its trail and the items are on the frame when the walls are read back, also
// blended at part alpha over the cave, the clear colour and the white stars. Keeping
// every one of their colours clearly bluer than red means no blend can be a grey.
TEST_F(Art, SpritesDrawnBeforeWallTestsAreNeverGreyish) {
    for (Rect r : {kShip, kBoostA, kBoostB, kItemA, kItemB})
        EXPECT_EQ(Count(sheet, r, [](Uint32 c) { return c != kBlack && int(c & 0xff) - int(c >> 16) < 24; }), 0)
            << "sprite at " << r.x << "," << r.y;
}

// Bars are drawn from their left edge at any width: every column must show.
TEST_F(Art, BarsAreSolidAtEveryWidth) {
    for (Rect r : {kProgress, kGaugeA, kGaugeB}) EXPECT_EQ(Inked(sheet, r), r.w * r.h) << "bar at y " << r.y;
}

// Where the HUD draws numbers and bars over the frame (at screen (10, 0)), it is clear.
TEST_F(Art, HudFrameLeavesItsNumbersAndBarsClear) {
    for (Rect s : {Rect{14, 15, 60, 10}, Rect{85, 30, 24, 10}, Rect{16, 31, 36, 8}, Rect{16, 47, 89, 8}})
        EXPECT_EQ(Inked(sheet, {s.x + kHudFrame.x - 10, s.y, s.w, s.h}), 0) << "screen " << s.x << "," << s.y;
}

// Nothing but one flat colour (transparent, or a plain backing) lies there.
bool Plain(const Picture& p, Rect r) {
    return Count(p, r, [&](Uint32 c) { return c != p.At(r.x, r.y); }) == 0;
}

TEST_F(Art, RecordLabelsLeaveTheirDigitSpotsPlain) {
    // Label A at (29,227) gets its digits at (41,232); label B at (308,227) at (367,232).
    EXPECT_TRUE(Plain(sheet, {kLabelA.x + 41 - 29, kLabelA.y + 5, 60, 10}));
    EXPECT_TRUE(Plain(sheet, {kLabelB.x + 367 - 308, kLabelB.y + 5, 60, 10}));
    // And they carry words beside the digits.
    EXPECT_FALSE(Plain(sheet, {kLabelA.x + 72, kLabelA.y + 5, 60, 10}));
    EXPECT_FALSE(Plain(sheet, {kLabelB.x, kLabelB.y + 5, 59, 10}));
    // Their top rows stay clear where the mode buttons above reach down over them.
    EXPECT_EQ(Inked(sheet, {kLabelA.x + 101, kLabelA.y, 64, 3}), 0);
    EXPECT_EQ(Inked(sheet, {kLabelB.x, kLabelB.y, 42, 3}), 0);
}

// ------------------------------------------------------------------ the caves
TEST_F(Caves, MapsUseTheClearColourAndTheTwoWallColoursOnly) {
    for (size_t m = 0; m < 20; ++m) {
        const std::set<Uint32> colours(maps[m].px.begin(), maps[m].px.end());
        EXPECT_TRUE(maps[m].w == 480 && maps[m].h == 320) << "map " << m + 1;
        EXPECT_EQ(colours, (std::set<Uint32>{kClear, kGrey, kBlack})) << "map " << m + 1;
    }
}

std::vector<bool> WallColumn(const Picture& p, int x) {
    std::vector<bool> v;
    for (int y = 0; y < p.h; ++y) v.push_back(p.Wall(x, y));
    return v;
}

// With twenty maps that means one edge for all: every left and right edge as map 1's right.
TEST_F(Caves, EveryMapsLeftEdgeContinuesEveryMapsRightEdge) {
    for (size_t m = 0; m < 20; ++m) {
        EXPECT_TRUE(WallColumn(maps[m], 0) == WallColumn(maps[0], 479)) << "left edge of map " << m + 1;
        EXPECT_TRUE(WallColumn(maps[m], 479) == WallColumn(maps[0], 479)) << "right edge of map " << m + 1;
    }
}

// Probes above or below the screen never block, so a cave open at its top or bottom
// row would let the ship fly out of it.
TEST_F(Caves, RockSealsTheTopAndBottomOfEveryMap) {
    for (size_t m = 0; m < 20; ++m)
        for (int x = 0; x < 480; ++x)
            ASSERT_TRUE(maps[m].Wall(x, 0) && maps[m].Wall(x, 319)) << "map " << m + 1 << " column " << x;
}

TEST_F(Caves, FirstMapIsOpenAroundTheShipsStart) {
    // The ship starts at x 0, rows 154..165; leave it room all round.
    for (int y = 154 - 30; y <= 165 + 30; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_FALSE(maps[0].Wall(x, y)) << x << "," << y;
}

// No gap between two rocks, down a column or along a row, is narrower than 20 pixels.
TEST_F(Caves, PassagesAreNeverNarrowerThan20Pixels) {
    for (size_t m = 0; m < 20; ++m)
        for (bool down : {true, false})
            for (int line = 0; line < (down ? 480 : 320); ++line) {
                int open = -1;  // open pixels since the last rock; -1 until a rock is met
                for (int i = 0, n = down ? 320 : 480; i < n; ++i) {
                    if (!(down ? maps[m].Wall(line, i) : maps[m].Wall(i, line))) {
                        if (open >= 0) ++open;
                        continue;
                    }
                    EXPECT_TRUE(open <= 0 || open >= 20)
                        << "map " << m + 1 << (down ? " column " : " row ") << line << " gap " << open;
                    open = 0;
                }
            }
}

TEST_F(Caves, EachMapHasAShapeOfItsOwn) {
    for (size_t i = 0; i < 20; ++i)
        for (size_t j = i + 1; j < 20; ++j) {
            int differ = 0;
            for (int y = 0; y < 320; ++y)
                for (int x = 0; x < 480; ++x) differ += maps[i].Wall(x, y) != maps[j].Wall(x, y);
            EXPECT_GE(differ, 480 * 320 / 20) << "maps " << i + 1 << " and " << j + 1 << " are too alike";
        }
}

// Same sources, same bytes: drawing the art again gives identical files.
TEST_F(Art, GeneratorRedrawsTheSameBytes) {
    const std::string file = __FILE__;
    const std::string source = file.substr(0, file.rfind("/tests/"));
    const std::string tool = kBuild + "/assets/comet-artgen";
    ASSERT_TRUE(std::ifstream(tool).good()) << "no generator at " << tool;
    testsupport::ScratchDir scratch;
    const std::string cmd = "'" + tool + "' '" + source + "/assets/caves' '" + scratch.path() + "/image'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<std::string> files = MapNames();
    files.push_back("image/material.bmp");
    files.push_back("image/mapImg/map.dat");
    for (const std::string& n : files)
        EXPECT_EQ(ReadFileBytes(scratch.path() + "/" + n), ReadFileBytes(kBuild + "/" + n)) << n;
}

}  // namespace
