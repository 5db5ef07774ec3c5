// Art: what the generator draws. The sprite sheet's layout is fixed by the game (each
// sprite's rectangle below is where the game copies it from); the pictures are ours.
#pragma once
#include <string>
#include <vector>

#include "CollisionDetection.h"
#include "Image.h"
#include "Screen.h"
#include "SpriteSheet.h"

// The generator's rectangles are plain ints; the game's SDL_Rects convert to them.
struct Rect {
    int x, y, w, h;
    constexpr Rect(int x_, int y_, int w_, int h_) : x(x_), y(y_), w(w_), h(h_) {}
    constexpr Rect(const SDL_Rect& r) : x(r.x), y(r.y), w(r.w), h(r.h) {}  // NOLINT: implicit on purpose
};

Image DrawSheet();

// One cave: a 480x320 picture in the three map colours, made from its text file.
namespace cave {
constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;
constexpr Rgb kClear{kClearLevel, kClearLevel, kClearLevel};  // open space, transparent in the game
constexpr Rgb kGrey = RgbOfRaw(kWallGrey);                    // rock, the face and the body
constexpr Rgb kDark = RgbOfRaw(kWallBlack);                   // rock, the grain inside
// Every cave meets every other at its edges: the same ceiling and floor rows there.
constexpr int kEdgeCeiling = 112;  // first open row at both edges
constexpr int kEdgeFloor = 208;    // first rock row at both edges
constexpr int kNarrowest = 20;     // no gap between rocks is narrower
}  // namespace cave

Image DrawCave(const std::string& sourcePath);
