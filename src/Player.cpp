// Player: one image of the ship. Draws the sprite of its mode and boost look, and moves
// by the held arrows one pixel at a time, each pixel tested against the frame drawn so far.
#include "Player.h"

#include "CollisionDetection.h"
#include "KeyState.h"
#include "SpriteSheet.h"

namespace {

static_assert(kShipStartY == kScreenHeight / 2 - kShipSize / 2, "the ship starts centred");

}  // namespace

Player::Player() : src{}, dst{}, step(kShipStep), x(kShipStartX), y(kShipStartY), state(0) {
    src.w = kShipSize;
    src.h = kShipSize;
}

void Player::Draw(SDL_Surface* screen, SDL_Surface* sheet, int mode) {
    PickSprite(mode);
    dst.x = static_cast<Sint16>(x);
    dst.y = static_cast<Sint16>(y);
    SDL_UpperBlit(sheet, &src, screen, &dst);
}

// Mode A keeps its boost look in the row below the ship; Mode B has a cell of its own.
void Player::PickSprite(int mode) {
    if (mode == kModeB && state == 1) {
        src.x = sheet::kShipBoostB.x;
        src.y = sheet::kShipBoostB.y;
        return;
    }
    src.x = sheet::kShip.x;
    src.y = mode == kModeA && state == 1 ? sheet::kShipBoostA.y : sheet::kShip.y;
}

void Player::Move(SDL_Surface* screen, unsigned char keys, int boost, int mode) {
    // In Mode B the strip moves instead (Map::Move).
    if (mode == kModeA) {
        if (keys & kKeyUp) StepWhileFree(screen, &y, -1, kProbeUp);
        if (keys & kKeyDown) StepWhileFree(screen, &y, +1, kProbeDown);
    }
    if (keys & kKeyLeft) Slide(screen, boost, -1, kProbeLeft);
    if (keys & kKeyRight) Slide(screen, boost, +1, kProbeRight);
    if (x > kShipMaxX) x = kShipClampedX;
}

// Each pixel is tested before it is taken, so the ship halts flush against a wall.
void Player::StepWhileFree(SDL_Surface* screen, int* coord, int sign, int direction) {
    CollisionDetection hit;
    for (int i = 0; i < step; ++i) {
        if (!hit.PlayerAndMap(screen, x, y, direction)) return;
        *coord += sign;
    }
}

void Player::Slide(SDL_Surface* screen, int boost, int sign, int direction) {
    if (boost == 0) {
        StepWhileFree(screen, &x, sign, direction);
        return;
    }
    x += sign * kBoostFactor * step;
}
