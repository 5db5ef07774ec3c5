// CollisionDetection: wall tests read the frame as drawn so far; box tests compare corners.
#include "CollisionDetection.h"

Uint32 GetPixel(SDL_Surface* surface, int x, int y) {
    if (x < 0 || x >= kScreenWidth) return kOffScreen;
    if (y < 0 || y >= kScreenHeight) return kOffScreen;
    // A smaller surface than the screen is never read beyond its own edge.
    if (x >= surface->w || y >= surface->h) return kOffScreen;

    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
    case 1:
        return *p;
    case 2:
        return *reinterpret_cast<const Uint16*>(p);
    case 3:
        return p[0] | (p[1] << 8) | (p[2] << 16);
    case 4:
        return *reinterpret_cast<const Uint32*>(p);
    default:
        return 0;
    }
}

bool CollisionDetection::PlayerAndMap(SDL_Surface* surface, int x, int y, int direction) {
    for (int i = 0; i < kShipSize; ++i) {
        Uint32 pixel;
        switch (direction) {
        case kProbeUp: pixel = GetPixel(surface, x + i, y - 1); break;
        case kProbeDown: pixel = GetPixel(surface, x + i, y + kShipSize); break;
        case kProbeLeft: pixel = GetPixel(surface, x - 1, y + i); break;
        case kProbeRight: pixel = GetPixel(surface, x + kShipSize, y + i); break;
        default: return true;  // an unknown direction reads nothing and never blocks
        }
        if (IsWall(pixel)) return false;
    }
    return true;
}

bool CollisionDetection::PlayerAndItem(int shipX, int shipY, int itemX, int itemY) {
    if (shipX + 1 > itemX + kItemSize) return false;   // wholly right of the item
    if (shipX + 11 < itemX) return false;              // wholly left
    if (shipY + 1 > itemY + kItemSize) return false;   // wholly below
    if (shipY + 11 < itemY) return false;              // wholly above
    return true;
}

bool CollisionDetection::ItemAndItem(int x1, int y1, int x2, int y2) {
    return x1 < x2 + kItemSize && x2 < x1 + kItemSize && y1 < y2 + kItemSize &&
           y2 < y1 + kItemSize;
}
