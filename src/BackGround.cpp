// BackGround: one star of the star field. It is plotted straight into the display
// surface already in use; asking for the video mode again could replace that surface
// under Game's feet, so a star only borrows it and never frees it.
#include "BackGround.h"

#include <cstdlib>

#include "CollisionDetection.h"
#include "DrawPixel.h"

namespace {

constexpr int kStarLead = 2;  // a star drifts this much faster than the cave
constexpr int kReturnX = kScreenWidth;  // one column past the edge: unseen for a frame

}  // namespace

BackGround::BackGround() : surface(SDL_GetVideoSurface()), dst{}, x(0), y(0) {
    x = std::rand() % kScreenWidth;
    y = std::rand() % kScreenHeight;
}

// The display surface belongs to Game.
BackGround::~BackGround() = default;

void BackGround::Draw(SDL_Surface* target, unsigned int color) {
    Draw_Pixel(surface, static_cast<Sint16>(x), static_cast<Sint16>(y), color);
    // In the game target is the display surface itself, and copying a surface onto
    // itself changes no pixel: only a different target needs the copy.
    if (!surface || !target || surface == target) return;
    SDL_UpperBlit(surface, nullptr, target, &dst);
}

void BackGround::Move(int speed) {
    x += -kStarLead - speed;
    if (x >= 1) return;
    x = kReturnX;
    y = std::rand() % kScreenHeight;
}
