// Screen: the display surface every frame is drawn on, and the colour and alpha values
// the game gives a meaning to. The game, the art generator and the tests take them here.
#pragma once
#include <SDL.h>

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 320;
constexpr int kScreenBpp = 24;

// (20,20,20): each frame starts cleared to it, and it is the open space of a map image,
// drawn transparent so the trail and stars behind show through.
constexpr Uint8 kClearLevel = 20;
constexpr Uint32 kClearRaw = 0x141414;  // as GetPixel reads it on the display surface

constexpr int kOpaque = 255;   // alpha of a sprite drawn in full
constexpr int kFadeStep = 5;   // the title, the game-over overlay and items fade 5 a frame

// Alphas count up by the fade step and stop at opaque.
constexpr int FadeIn(int alpha) { return alpha + kFadeStep > kOpaque - 1 ? kOpaque : alpha + kFadeStep; }
