// Pixel collision: reading the frame back, the probe lines of the wall test, the box
// tests, and the pixel plot that the stars use.
#include <gtest/gtest.h>

#include <cstring>

#include "CollisionDetection.h"
#include "DrawPixel.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kClear = 0x141414;
constexpr Uint32 kWhite = 0xffffff;

struct WallTest : ::testing::Test {
    Display display;
    SDL_Surface* screen = display.screen();
    CollisionDetection hit;
    void SetUp() override { FillRaw(screen, 0, 0, 480, 320, kClear); }
};

}  // namespace

TEST_F(WallTest, GetPixelIsOffScreenJustOutsideEachEdge) {
    EXPECT_EQ(GetPixel(screen, -1, 0), kOffScreen);
    EXPECT_EQ(GetPixel(screen, 480, 0), kOffScreen);
    EXPECT_EQ(GetPixel(screen, 0, -1), kOffScreen);
    EXPECT_EQ(GetPixel(screen, 0, 320), kOffScreen);
    PutRaw(screen, 479, 319, 0x123456);
    EXPECT_EQ(GetPixel(screen, 479, 319), 0x123456u);
}

TEST_F(WallTest, ThreeBytePixelsReadLowestAddressFirst) {
    Uint8* p = static_cast<Uint8*>(screen->pixels) + 7 * screen->pitch + 5 * 3;
    p[0] = 0x01;
    p[1] = 0x02;
    p[2] = 0x03;
    EXPECT_EQ(GetPixel(screen, 5, 7), 0x030201u);
    p[0] = p[1] = p[2] = 0x9b;
    EXPECT_EQ(GetPixel(screen, 5, 7), kWallGrey);
}

TEST(PixelReader, SmallerSurfaceIsNeverReadBeyondItsEdge) {
    SDL_Surface* small = MakeSurface(10, 10, 1, 2, 3);
    EXPECT_EQ(GetPixel(small, 9, 9), 0x010203u);
    EXPECT_EQ(GetPixel(small, 10, 0), kOffScreen);
    EXPECT_EQ(GetPixel(small, 0, 10), kOffScreen);
    EXPECT_EQ(GetPixel(small, 400, 300), kOffScreen);
    SDL_FreeSurface(small);
}

TEST_F(WallTest, EachProbeLineBlocksOnItsLastPixel) {
    const int x = 100, y = 100;
    struct Case { int dir; int px, py; } cases[] = {
        {kProbeUp, x + 11, y - 1},
        {kProbeDown, x + 11, y + 12},
        {kProbeLeft, x - 1, y + 11},
        {kProbeRight, x + 12, y + 11},
    };
    for (const Case& c : cases) {
        FillRaw(screen, 0, 0, 480, 320, kClear);
        EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, c.dir)) << c.dir;
        PutRaw(screen, c.px, c.py, kWallGrey);
        EXPECT_FALSE(hit.PlayerAndMap(screen, x, y, c.dir)) << c.dir;
    }
}

TEST_F(WallTest, CornersAndPixelsInsideTheBoxNeverBlock) {
    const int x = 100, y = 100;
    PutRaw(screen, x - 1, y - 1, kWallBlack);
    PutRaw(screen, x + 12, y + 12, kWallBlack);
    PutRaw(screen, x + 12, y - 1, kWallBlack);
    FillRaw(screen, x, y, 12, 12, kWallGrey);  // a wall already inside the ship
    for (int dir = kProbeUp; dir <= kProbeRight; ++dir)
        EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, dir)) << dir;
}

TEST_F(WallTest, OnlyExactGreyAndBlackAreWalls) {
    const int x = 200, y = 50;
    const Uint32 notWalls[] = {0x9b9b9a, 0x9b9a9b, kClear, kWhite, 0x000001};
    for (Uint32 colour : notWalls) {
        PutRaw(screen, x + 12, y + 5, colour);
        EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, kProbeRight)) << std::hex << colour;
    }
    PutRaw(screen, x + 12, y + 5, kWallBlack);
    EXPECT_FALSE(hit.PlayerAndMap(screen, x, y, kProbeRight));
}

TEST_F(WallTest, ScreenEdgesAreNotWalls) {
    EXPECT_TRUE(hit.PlayerAndMap(screen, 0, 100, kProbeLeft));
    EXPECT_TRUE(hit.PlayerAndMap(screen, 100, 0, kProbeUp));
    EXPECT_TRUE(hit.PlayerAndMap(screen, 468, 100, kProbeRight));
    EXPECT_TRUE(hit.PlayerAndMap(screen, 100, 308, kProbeDown));
}

TEST_F(WallTest, UnknownDirectionsAreFree) {
    FillRaw(screen, 0, 0, 480, 320, kWallBlack);
    EXPECT_TRUE(hit.PlayerAndMap(screen, 100, 100, 999));
    EXPECT_TRUE(hit.PlayerAndMap(screen, 100, 100, 1004));
    EXPECT_FALSE(hit.PlayerAndMap(screen, 100, 100, kProbeUp));
}

// The ship's box is 12 pixels square, an item's 32.
TEST(BoxTests, BoxesOverlapExactlyWhenTheyShareAPixel) {
    CollisionDetection hit;
    const int ix = 100, iy = 50;
    EXPECT_TRUE(hit.PlayerAndItem(ix - 11, iy, ix, iy));
    EXPECT_FALSE(hit.PlayerAndItem(ix - 12, iy, ix, iy));
    EXPECT_TRUE(hit.PlayerAndItem(ix + 31, iy + 31, ix, iy));
    EXPECT_FALSE(hit.PlayerAndItem(ix + 32, iy, ix, iy));
    EXPECT_TRUE(hit.PlayerAndItem(ix, iy - 11, ix, iy));
    EXPECT_FALSE(hit.PlayerAndItem(ix, iy - 12, ix, iy));
    EXPECT_FALSE(hit.PlayerAndItem(ix, iy + 32, ix, iy));
    EXPECT_TRUE(hit.ItemAndItem(0, 0, 31, 31));
    EXPECT_FALSE(hit.ItemAndItem(0, 0, 32, 0));
    EXPECT_FALSE(hit.ItemAndItem(0, 0, 0, -32));
    EXPECT_TRUE(hit.ItemAndItem(0, 0, -31, 0));
}

// Plotted and read back at every pixel size; in memory the lowest byte comes first (for
// three-byte pixels by rule, for the others as on the little-endian machines we run on).
TEST(PixelPlot, PlotsAndReadsEveryPixelSizeInMachineOrder) {
    for (int bpp : {8, 16, 24, 32}) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, bpp, 0, 0, 0, 0);
        const Uint32 colour =
            bpp == 8 ? 0x5a : bpp == 16 ? 0x1234 : bpp == 24 ? 0x030201 : 0xdeadbeef;
        Draw_Pixel(s, 3, 4, colour);
        Uint32 raw = 0;
        std::memcpy(&raw, static_cast<Uint8*>(s->pixels) + 4 * s->pitch + 3 * bpp / 8, bpp / 8);
        EXPECT_EQ(raw, colour) << bpp;
        EXPECT_EQ(GetPixel(s, 3, 4), colour) << bpp;
        EXPECT_EQ(GetPixel(s, 4, 4), 0u) << bpp;
        SDL_FreeSurface(s);
    }
}

TEST(PixelPlot, DrawsNothingOutsideTheClipRectangle) {
    SDL_Surface* s = MakeSurface(8, 8, 0, 0, 0);
    SDL_Rect clip = {2, 2, 4, 4};
    SDL_SetClipRect(s, &clip);
    const Sint16 outside[][2] = {{1, 3}, {6, 3}, {3, 1}, {3, 6}, {-1, 0}, {8, 8}, {-32768, 32767}};
    for (const auto& p : outside) Draw_Pixel(s, p[0], p[1], 0xffffff);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(GetPixel(s, x, y), 0u) << x << "," << y;
    Draw_Pixel(s, 5, 5, 0xffffff);
    EXPECT_EQ(GetPixel(s, 5, 5), 0xffffffu);
    SDL_FreeSurface(s);
}
