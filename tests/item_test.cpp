// Item: the bounce at both ends of both axes, the random placement, the fade in and out
// and the sprite cell of each mode, drawn on a real frame.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CollisionDetection.h"
#include "Item.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kClear = 0x141414;
constexpr Uint32 kCellA = 0x20e020;
constexpr Uint32 kCellB = 0xe02020;

// One move from `at` in direction `d`: where the item lands and where it heads next.
struct Step {
    int at, d, lands, turnsTo;
};

}  // namespace

TEST(ItemBounce, TurnsOnReachingEitherEndOfEitherAxis) {
    const Step x[] = {{447, +1, 448, -1}, {448, -1, 447, -1}, {1, -1, 0, +1},
                      {0, +1, 1, +1},     {200, +1, 201, +1}};
    const Step y[] = {{287, +1, 288, -1}, {288, -1, 287, -1}, {1, -1, 0, +1},
                      {0, +1, 1, +1},     {100, -1, 99, -1}};
    Item item;
    for (int i = 0; i < 5; ++i) {
        item.pos.x = x[i].at, item.dx = x[i].d;
        item.pos.y = y[i].at, item.dy = y[i].d;
        item.Move();
        EXPECT_EQ(item.pos.x, x[i].lands) << x[i].at;
        EXPECT_EQ(item.dx, x[i].turnsTo) << x[i].at;
        EXPECT_EQ(item.pos.y, y[i].lands) << y[i].at;
        EXPECT_EQ(item.dy, y[i].turnsTo) << y[i].at;
    }
}

TEST(ItemPlace, InitSpreadsOverTheScreenAndKeepsDirectionAndAlpha) {
    std::srand(11);
    Item item;
    item.dx = -1, item.dy = -1, item.alpha = 255;
    int maxX = 0, maxY = 0;
    for (int i = 0; i < 20000; ++i) {
        item.Init();
        ASSERT_TRUE(item.pos.x >= 0 && item.pos.y >= 0);
        maxX = std::max<int>(maxX, item.pos.x);
        maxY = std::max<int>(maxY, item.pos.y);
    }
    EXPECT_EQ(maxX, 447);
    EXPECT_EQ(maxY, 287);
    EXPECT_TRUE(item.dx == -1 && item.dy == -1 && item.alpha == 255);
}

class ItemFade : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetColorKey(sheet, SDL_SRCCOLORKEY, 0);
        FillRaw(sheet, 0, 24, 32, 32, kCellA);
        FillRaw(sheet, 32, 24, 32, 32, kCellB);
        item.pos.x = 100;
        item.pos.y = 50;
    }
    void TearDown() override { SDL_FreeSurface(sheet); }
    // Draws one frame on a cleared screen; returns the item's centre pixel.
    Uint32 DrawFrame(int gameOver, int mode = 0) {
        FillRaw(screen(), 0, 0, 480, 320, kClear);
        item.Draw(screen(), sheet, gameOver, mode);
        return GetPixel(screen(), 116, 66);
    }
    SDL_Surface* screen() { return display.screen(); }

    Display display;
    SDL_Surface* sheet = MakeSurface(473, 309, 0, 0, 0);
    Item item;
};

TEST_F(ItemFade, FadesInByFiveToOpaqueThenOutAfterTheCrashToInvisible) {
    Uint32 lastGreen = 0x14;
    for (int frame = 1; frame <= 50; ++frame) {
        const Uint32 green = (DrawFrame(0) >> 8) & 0xff;
        ASSERT_EQ(item.alpha, 5 * frame);
        ASSERT_EQ(sheet->format->alpha, 5 * frame);
        ASSERT_GE(green, lastGreen) << frame;
        lastGreen = green;
    }
    EXPECT_LT(lastGreen, 0xe0u);
    EXPECT_EQ(DrawFrame(0), kCellA);  // the 51st draw: opaque, and it stays so
    EXPECT_EQ(item.alpha, 255);
    DrawFrame(0);
    EXPECT_EQ(item.alpha, 255);
    DrawFrame(1);
    EXPECT_EQ(item.alpha, 250);
    for (int frame = 0; frame < 60; ++frame) DrawFrame(1);
    EXPECT_EQ(item.alpha, 0);
    EXPECT_EQ(DrawFrame(1), kClear);
    item.alpha = 3;  // never below zero
    DrawFrame(1);
    EXPECT_EQ(item.alpha, 0);
}

TEST_F(ItemFade, EachModeDrawsItsOwnCell) {
    item.alpha = 255;
    EXPECT_EQ(DrawFrame(0, 0), kCellA);
    EXPECT_EQ(DrawFrame(0, 1), kCellB);
    EXPECT_EQ(GetPixel(screen(), 100, 50), kCellB);
    EXPECT_EQ(GetPixel(screen(), 131, 81), kCellB);
    EXPECT_EQ(GetPixel(screen(), 132, 81), kClear);
}
