// Art: the generated data folder, image/ in the build folder. Every sprite lies where the
// game copies it from, black is transparent and the wall grey never appears on the sheet;
// the generator draws the same bytes every time and refuses what it cannot draw. What
// the caves must be (three colours, sealed, one shared edge, flyable) the art build's
// cave proof checks at every build of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CollisionDetection.h"
#include "SpriteSheet.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const std::string kBuild = COMET_BUILD_DIR;

// A BMP read as the game reads its frames: GetPixel gives 0xRRGGBB.
struct Picture {
    SDL_Surface* s;
    explicit Picture(const std::string& path) : s(SDL_LoadBMP(path.c_str())) {}
    ~Picture() { SDL_FreeSurface(s); }
    int Count(SDL_Rect r, bool (*pred)(Uint32)) const {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) n += pred(GetPixel(s, x, y));
        return n;
    }
};

std::vector<std::string> MapNames() {
    std::ifstream f(kBuild + "/image/mapImg/map.dat");
    std::vector<std::string> names;
    for (std::string n; f >> n;) names.push_back(n);
    return names;
}

}  // namespace

// Each sprite's rectangle is at least a fifth inked (ship and item pictures are round),
// and no sprite colour is grey enough to read as a wall: ship, trail and items are on the
// frame, blended over the cave, when the walls are read back.
TEST(Art, EverySpriteFillsItsRectangleAndTheSheetHoldsNoWallGreyOrGreyishSprite) {
    const Picture sheet(kBuild + "/image/material.bmp");
    ASSERT_TRUE(sheet.s && sheet.s->format->BytesPerPixel == 3);
    ASSERT_EQ(sheet.s->w, sheet::kWidth);
    ASSERT_EQ(sheet.s->h, sheet::kHeight);
    using namespace sheet;
    for (SDL_Rect r : {kShip, kShipBoostA, kShipBoostB, kItemA, kItemB, kProgress, kGaugeA, kGaugeB, kHudFrame,
                       kHudPanel, kNoticeTail, kRecordNotice, kRecordLabelA, kRecordLabelB, kLogo, kModeA, kModeB,
                       kRetry, kExit, kTitle, kGameOver})
        EXPECT_GE(5 * sheet.Count(r, [](Uint32 c) { return c != 0; }), r.w * r.h) << r.x << "," << r.y;
    for (int d = 0; d < 10; ++d) {
        const SDL_Rect digit{static_cast<Sint16>(kDigit.x + d * kDigit.w), kDigit.y, kDigit.w, kDigit.h};
        EXPECT_GE(sheet.Count(digit, [](Uint32 c) { return c != 0; }), 15) << "digit " << d;
    }
    EXPECT_EQ(sheet.Count({0, 0, kWidth, kHeight}, [](Uint32 c) { return c == kWallGrey; }), 0);
    for (SDL_Rect r : {kShip, kShipBoostA, kShipBoostB, kItemA, kItemB})
        EXPECT_EQ(sheet.Count(r, [](Uint32 c) { return c != 0 && int(c & 0xff) - int(c >> 16) < 24; }), 0)
            << "sprite at " << r.x << "," << r.y << " is not clearly bluer than red";
}

TEST(Art, GeneratorDrawsTheSameBytesEveryTime) {
    ScratchDir scratch;
    const std::string cmd = "'" + kBuild + "/assets/comet-artgen' '" COMET_SOURCE_DIR "/assets/caves' '" +
                            scratch.path() + "/image'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<std::string> files = MapNames();
    files.push_back("image/material.bmp");
    files.push_back("image/mapImg/map.dat");
    for (const std::string& n : files) {
        EXPECT_FALSE(ReadFile(kBuild + "/" + n).empty()) << n;
        EXPECT_EQ(ReadFile(scratch.path() + "/" + n), ReadFile(kBuild + "/" + n)) << n;
    }
}

// Shapes it would divide by zero to draw are refused with the file and line named; a cave
// walled shut from top to bottom, or opened at the top, by the proof that follows.
TEST(Art, GeneratorRefusesShapesItCannotDrawAndTheProofCavesItCannotUse) {
    ScratchDir scratch;
    const std::string cave = ReadFile(COMET_SOURCE_DIR "/assets/caves/cave05.txt");
    const std::string line = std::to_string(std::count(cave.begin(), cave.end(), '\n') + 1);
    const std::string tools = "'" + kBuild + "/assets/comet-artgen' caves image 2>err.txt && '" + kBuild +
                              "/assets/comet-caveproof' . 2>err.txt";
    for (const auto& [bad, said] : std::vector<std::pair<std::string, std::string>>{
             {"rock ellipse 200 160 0 10", "^comet-artgen: caves/cave05.txt:" + line + ": "},
             {"open spike 200 150 150 6", "^comet-artgen: caves/cave05.txt:" + line + ": "},
             {"rock poly 240 0 252 0 252 319 240 319", "^comet-caveproof: Mode A, speed 1: .*cave05.* cannot be flown"},
             {"open poly 100 -5 140 -5 140 30 100 30", "^comet-caveproof: image/mapImg/cave05.bmp: open at \\("}}) {
        ASSERT_EQ(system("mkdir -p caves && cp " COMET_SOURCE_DIR "/assets/caves/*.txt caves/"), 0);
        scratch.Write("caves/cave05.txt", cave + bad + "\n");
        EXPECT_NE(std::system(tools.c_str()), 0) << bad;
        EXPECT_TRUE(std::regex_search(scratch.Read("err.txt"), std::regex(said))) << scratch.Read("err.txt");
    }
}
