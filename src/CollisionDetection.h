// CollisionDetection: the game keeps no wall map. A wall is whatever the frame under
// construction shows in a wall colour, read back pixel by pixel just outside the ship.
// Also the two box-overlap tests (ship against item, item against item).
#pragma once
#include <SDL.h>

#include "Screen.h"

constexpr Uint32 kWallGrey = 0x9b9b9b;  // raw pixel values that block the ship
constexpr Uint32 kWallBlack = 0;
constexpr Uint32 kOffScreen = 0xff;     // what GetPixel reads off the screen: never a wall

constexpr bool IsWall(Uint32 pixel) { return pixel == kWallGrey || pixel == kWallBlack; }

// Which side of the ship a wall test probes.
constexpr int kProbeUp = 1000;
constexpr int kProbeDown = 1001;
constexpr int kProbeLeft = 1002;
constexpr int kProbeRight = 1003;

constexpr int kShipSize = 12;  // the ship's box is 12x12
constexpr int kItemSize = 32;  // an item's box is 32x32

// The raw pixel at (x, y), or kOffScreen outside the screen or outside the surface.
Uint32 GetPixel(SDL_Surface* surface, int x, int y);

class CollisionDetection {
public:
    CollisionDetection() = default;
    ~CollisionDetection() = default;

    // True when the line of 12 pixels just outside the ship on that side shows no wall.
    bool PlayerAndMap(SDL_Surface* surface, int x, int y, int direction);
    // True when the 12x12 ship box and the 32x32 item box share a pixel.
    bool PlayerAndItem(int shipX, int shipY, int itemX, int itemY);
    // True when two 32x32 item boxes share a pixel.
    bool ItemAndItem(int x1, int y1, int x2, int y2);
};
