// Player: the ship's moves against walls drawn on a real frame, the boost jump, the
// right-hand clamp, and which sprite cell is drawn for each mode and look.
#include <gtest/gtest.h>

#include "CollisionDetection.h"
#include "KeyState.h"
#include "Player.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kClear = 0x141414;
constexpr int kStartX = 200, kStartY = 150;

class ShipMove : public ::testing::Test {
protected:
    void SetUp() override {
        FillRaw(screen(), 0, 0, 480, 320, kClear);
        ship.x = kStartX;
        ship.y = kStartY;
    }
    SDL_Surface* screen() { return display.screen(); }

    // A wall line along the whole side of the ship, `gap` free pixels away from it.
    void WallAt(unsigned char key, int gap) {
        const int near = kShipSize + gap;
        if (key == kKeyUp) FillRaw(screen(), kStartX, kStartY - 1 - gap, kShipSize, 1, kWallGrey);
        if (key == kKeyDown) FillRaw(screen(), kStartX, kStartY + near, kShipSize, 1, kWallGrey);
        if (key == kKeyLeft) FillRaw(screen(), kStartX - 1 - gap, kStartY, 1, kShipSize, kWallBlack);
        if (key == kKeyRight) FillRaw(screen(), kStartX + near, kStartY, 1, kShipSize, kWallBlack);
    }

    Display display;
    Player ship;
};

}  // namespace

TEST_F(ShipMove, HaltsFlushAgainstAWallOneThreeOrFivePixelsAway) {
    const unsigned char keys[] = {kKeyUp, kKeyDown, kKeyLeft, kKeyRight};
    const int sign[] = {-1, +1, -1, +1};
    for (int k = 0; k < 4; ++k) {
        for (int gap : {0, 1, 3, 5, 7}) {
            SetUp();
            WallAt(keys[k], gap);
            ship.Move(screen(), keys[k], 0, kModeA);
            const int moved = sign[k] * (gap < ship.step ? gap : ship.step);
            const bool vertical = k < 2;
            SCOPED_TRACE(testing::Message() << "key " << int(keys[k]) << " gap " << gap);
            EXPECT_EQ(ship.x, kStartX + (vertical ? 0 : moved));
            EXPECT_EQ(ship.y, kStartY + (vertical ? moved : 0));
        }
    }
}

// Boosted sideways moves jump 10 through walls but vertical ones still halt; Mode B
// leaves the row to the strip; left and right together go left first, then right.
TEST_F(ShipMove, BoostJumpsSidewaysModeBKeepsTheRowAndOppositeKeysGoBothWays) {
    const struct {  // wall1 right beside the ship, wall2 gap2 pixels away (-2: inside the box)
        unsigned char wall1, wall2;
        int gap2, keys, boost, mode, dx, dy;
    } cases[] = {
        {kKeyLeft, 0, 0, kKeyLeft, 1, kModeA, -10, 0},
        {kKeyRight, kKeyUp, 2, kKeyRight | kKeyUp, 1, kModeA, +10, -2},
        {0, 0, 0, kKeyUp, 0, kModeB, 0, 0},
        {0, 0, 0, kKeyDown | kKeyLeft, 0, kModeB, -5, 0},
        {0, 0, 0, kKeyLeft | kKeyRight, 0, kModeA, 0, 0},
        {0, 0, 0, kKeyLeft | kKeyRight, 1, kModeB, 0, 0},
        {0, kKeyRight, -2, kKeyLeft | kKeyRight, 0, kModeA, -2, 0},  // only the way back meets it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "keys " << c.keys << " boost " << c.boost << " mode " << c.mode);
        SetUp();
        WallAt(c.wall1, 0);
        WallAt(c.wall2, c.gap2);
        ship.Move(screen(), static_cast<unsigned char>(c.keys), c.boost, c.mode);
        EXPECT_EQ(ship.x, kStartX + c.dx);
        EXPECT_EQ(ship.y, kStartY + c.dy);
    }
}

TEST_F(ShipMove, RightHandClampPutsAShipBeyond466At467) {
    const int from[] = {470, 467, 466, 465, 600};
    const int to[] = {467, 467, 466, 467, 467};
    for (int i = 0; i < 5; ++i) {
        ship.x = from[i];
        ship.Move(screen(), from[i] == 465 ? kKeyRight : 0, 0, kModeA);
        EXPECT_EQ(ship.x, to[i]) << from[i];
    }
    ship.x = -300;  // no limit on the left
    ship.Move(screen(), kKeyLeft, 1, kModeA);
    EXPECT_EQ(ship.x, -310);
}

// Each cell of the test sheet has its own colour; the drawn ship shows which cell.
TEST_F(ShipMove, DrawCopiesTheCellOfItsModeAndLookWithTheCallersAlpha) {
    SDL_Surface* sheet = MakeSurface(473, 309, 0, 0, 0);
    SDL_SetColorKey(sheet, SDL_SRCCOLORKEY, 0);
    FillRaw(sheet, 0, 0, 12, 12, 0x20c020);
    FillRaw(sheet, 0, 12, 12, 12, 0xc02020);
    FillRaw(sheet, 64, 24, 12, 12, 0x2020c0);
    const struct {
        int mode, state;
        Uint32 colour;
    } cases[] = {{kModeA, 0, 0x20c020}, {kModeA, 1, 0xc02020}, {kModeB, 0, 0x20c020}, {kModeB, 1, 0x2020c0}};
    for (const auto& c : cases) {
        FillRaw(screen(), 0, 0, 480, 320, kClear);
        ship.state = c.state;
        ship.Draw(screen(), sheet, c.mode);
        EXPECT_EQ(GetPixel(screen(), kStartX, kStartY), c.colour) << c.mode << c.state;
        EXPECT_EQ(GetPixel(screen(), kStartX + 11, kStartY + 11), c.colour);
        EXPECT_EQ(GetPixel(screen(), kStartX + 12, kStartY + 12), kClear);
    }
    FillRaw(screen(), 0, 0, 480, 320, kClear);
    SDL_SetAlpha(sheet, SDL_SRCALPHA, 95);
    ship.Draw(screen(), sheet, kModeB);
    EXPECT_EQ(sheet->format->alpha, 95);
    const Uint32 blue = GetPixel(screen(), kStartX, kStartY) & 0xff;
    EXPECT_GT(blue, 0x14u);
    EXPECT_LT(blue, 0xc0u);
    SDL_FreeSurface(sheet);
}
