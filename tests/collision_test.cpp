// Pixel collision: the probe lines of the wall test on a real frame, and the pixel plot
// that the stars use. The rest is held by the golden frames.
#include <gtest/gtest.h>

#include <cstring>

#include "CollisionDetection.h"
#include "DrawPixel.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

struct WallTest : ::testing::Test {
    Display display;
    SDL_Surface* screen = display.screen();
    CollisionDetection hit;
    void SetUp() override { FillRaw(screen, 0, 0, kScreenWidth, kScreenHeight, kClearRaw); }
};

}  // namespace

// The line of twelve pixels just outside each side: its last pixel blocks, the corners
// and whatever lies inside the ship's box never do, and only exact grey or black count.
TEST_F(WallTest, EachProbeLineIsTheTwelvePixelsJustOutsideThatSide) {
    const int x = 100, y = 100;
    const struct { int dir, px, py; } lastPixel[] = {
        {kProbeUp, x + 11, y - 1}, {kProbeDown, x + 11, y + 12}, {kProbeLeft, x - 1, y + 11}, {kProbeRight, x + 12, y + 11}};
    for (const auto& c : lastPixel) {
        SetUp();
        EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, c.dir)) << c.dir;
        FillRaw(screen, c.px, c.py, 1, 1, kWallGrey);
        EXPECT_FALSE(hit.PlayerAndMap(screen, x, y, c.dir)) << c.dir;
    }
    SetUp();
    for (auto [cx, cy] : {std::pair{x - 1, y - 1}, {x + 12, y + 12}, {x + 12, y - 1}}) FillRaw(screen, cx, cy, 1, 1, kWallBlack);
    FillRaw(screen, x, y, 12, 12, kWallGrey);
    for (int dir = kProbeUp; dir <= kProbeRight; ++dir) EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, dir)) << dir;
    for (Uint32 notWall : {0x9b9b9au, 0x9b9a9bu, 0x000001u, 0xffffffu}) {
        FillRaw(screen, x + 12, y + 5, 1, 1, notWall);
        EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, kProbeRight)) << std::hex << notWall;
    }
    FillRaw(screen, x + 12, y + 5, 1, 1, kWallBlack);
    EXPECT_FALSE(hit.PlayerAndMap(screen, x, y, kProbeRight));
    EXPECT_TRUE(hit.PlayerAndMap(screen, x, y, kProbeRight + 1)) << "an unknown side reads nothing";
}

// The display's pixel sizes, lowest byte first; nothing outside the clip rectangle.
TEST(PixelPlot, PlotsEveryPixelSizeAndNothingOutsideTheClipRectangle) {
    for (int bpp : {24, 32}) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, bpp, 0, 0, 0, 0);
        const Uint32 colour = 0xdeadbeef >> (32 - bpp);
        SDL_Rect clip{2, 2, 4, 4};
        SDL_SetClipRect(s, &clip);
        for (auto [x, y] : {std::pair{1, 3}, {6, 3}, {3, 1}, {3, 6}, {-1, 0}, {-32768, 32767}})
            Draw_Pixel(s, static_cast<Sint16>(x), static_cast<Sint16>(y), colour);
        Draw_Pixel(nullptr, 2, 2, colour);  // no surface: nothing happens
        Draw_Pixel(s, 2, 2, colour);  // the clip rectangle's corners
        Draw_Pixel(s, 5, 5, colour);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                Uint32 raw = 0;
                std::memcpy(&raw, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * bpp / 8, bpp / 8);
                EXPECT_EQ(raw, x == y && (x == 2 || x == 5) ? colour : 0u) << bpp << " bits at " << x << "," << y;
            }
        SDL_FreeSurface(s);
    }
}
