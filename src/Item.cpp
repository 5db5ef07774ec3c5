// Item: one energy item. It drifts on 45-degree lines, bounces off the screen edges so
// that it always stays wholly on screen, fades in where it is placed and fades out
// once the ship has crashed.
#include "Item.h"

#include <cstdlib>

#include "CollisionDetection.h"
#include "KeyState.h"
#include "Screen.h"
#include "SpriteSheet.h"

namespace {

constexpr int kStartDirection = 1;
constexpr int kAlphaClear = 0;

}  // namespace

Item::Item() : src{}, dx(kStartDirection), dy(kStartDirection), pos{}, alpha(kAlphaClear) {
    src.y = sheet::kItemA.y;
    src.w = kItemSize;
    src.h = kItemSize;
    Init();
}

void Item::Init() {
    pos.x = static_cast<Sint16>(std::rand() % (kScreenWidth - src.w));
    pos.y = static_cast<Sint16>(std::rand() % (kScreenHeight - src.h));
}

// The sheet keeps the item's alpha afterwards; the round sets it back.
void Item::Draw(SDL_Surface* screen, SDL_Surface* sheet, int gameOver, int mode) {
    src.x = mode == kModeB ? sheet::kItemB.x : sheet::kItemA.x;
    Fade(gameOver);
    SDL_SetAlpha(sheet, SDL_SRCALPHA, static_cast<Uint8>(alpha));
    SDL_UpperBlit(sheet, &src, screen, &pos);
}

void Item::Fade(int gameOver) {
    if (gameOver == 0) {
        alpha = FadeIn(alpha);
        return;
    }
    alpha -= kFadeStep;
    if (alpha < kAlphaClear + 1) alpha = kAlphaClear;
}

// Turns on the frame that reaches an end position, so the next move takes it back.
void Item::Move() {
    pos.x = static_cast<Sint16>(pos.x + dx);
    pos.y = static_cast<Sint16>(pos.y + dy);
    if (pos.x >= kScreenWidth - src.w || pos.x < 1) dx = -dx;
    if (pos.y >= kScreenHeight - src.h || pos.y < 1) dy = -dy;
}
