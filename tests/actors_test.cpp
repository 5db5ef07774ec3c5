// The ship's moves against walls drawn on a real frame, and the boost jump. The
// right-hand clamp and the items' bounces are held by the golden frames.
#include <gtest/gtest.h>

#include "CollisionDetection.h"
#include "KeyState.h"
#include "Player.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kStartX = 200, kStartY = 150;

class ShipMove : public ::testing::Test {
protected:
    void SetUp() override {
        FillRaw(screen(), 0, 0, kScreenWidth, kScreenHeight, kClearRaw);
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
