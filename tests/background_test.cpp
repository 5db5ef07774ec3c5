// BackGround: a star borrows the display surface in use, plots exactly one pixel per
// frame, and comes back at the right edge at a new height after leaving on the left.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "BackGround.h"
#include "CollisionDetection.h"
#include "DrawPixel.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kWhite = 0xffffff;

// A frame of varied content, so that any stray copy would show.
void PaintPattern(SDL_Surface* s) {
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 480; ++x) PutRaw(s, x, y, Uint32(x * 7919 + y * 104729) & 0xffffff);
}

bool SameFrame(SDL_Surface* a, SDL_Surface* b) {
    for (int y = 0; y < 320; ++y)
        if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                        static_cast<Uint8*>(b->pixels) + y * b->pitch, 480 * 3) != 0)
            return false;
    return true;
}

}  // namespace

// The copy of the whole frame onto another surface is covered by frame_identity_test,
// which draws with it and compares every frame.
TEST(StarField, StarsBorrowTheDisplaySurfaceAndDrawExactlyAPlainPixelPlot) {
    Display display;
    SDL_Surface* expected = MakeSurface(480, 320, 0, 0, 0);
    PaintPattern(display.screen());
    PaintPattern(expected);
    {
        BackGround stars[20];
        for (const BackGround& star : stars) EXPECT_EQ(star.surface, display.screen());
    }
    EXPECT_EQ(SDL_GetVideoSurface(), display.screen());
    EXPECT_TRUE(SameFrame(display.screen(), expected)) << "stars made and gone touch no pixel";
    std::srand(5);
    BackGround star;  // the next screen's stars still draw on it
    for (int frame = 0; frame < 200; ++frame) {
        PaintPattern(display.screen());
        PaintPattern(expected);
        star.Draw(display.screen(), kWhite);
        Draw_Pixel(expected, Sint16(star.x), Sint16(star.y), kWhite);
        ASSERT_TRUE(SameFrame(display.screen(), expected)) << frame;
        star.Move(frame % 7);
    }
    SDL_FreeSurface(expected);
}

TEST(StarField, StarLeavingOnTheLeftReturnsUnseenAtTheRightEdge) {
    Display display;
    std::srand(9);
    BackGround star;
    star.x = 4;
    star.Move(1);
    EXPECT_EQ(star.x, 1);
    const int oldY = star.y;
    star.Move(1);  // 1 - 3 = -2: gone
    EXPECT_EQ(star.x, 480);
    EXPECT_NE(star.y, oldY);  // seed 9 draws another row
    EXPECT_GE(star.y, 0);
    EXPECT_LT(star.y, 320);
    PaintPattern(display.screen());
    SDL_Surface* before = MakeSurface(480, 320, 0, 0, 0);
    SDL_BlitSurface(display.screen(), nullptr, before, nullptr);
    star.Draw(display.screen(), kWhite);
    EXPECT_TRUE(SameFrame(display.screen(), before));
    star.Move(4);
    EXPECT_EQ(star.x, 474);
    star.Draw(display.screen(), kWhite);
    EXPECT_EQ(GetPixel(display.screen(), 474, star.y), kWhite);
    SDL_FreeSurface(before);
}
