// Art: what the generator draws. The sprite sheet's layout is fixed by the game (each
// sprite's rectangle below is where the game copies it from); the pictures are ours.
#pragma once
#include <string>
#include <vector>

#include "Image.h"

struct Rect {
    int x, y, w, h;
};

// Where the game finds each sprite on image/material.bmp. Black is transparent there.
namespace sheet {
constexpr int kWidth = 473;  // the extent of all rectangles together
constexpr int kHeight = 309;
constexpr Rect kShip{0, 0, 12, 12};
constexpr Rect kShipBoostA{0, 12, 12, 12};
constexpr Rect kShipBoostB{64, 24, 12, 12};
constexpr Rect kProgress{12, 0, 36, 8};
constexpr Rect kGaugeA{12, 8, 89, 8};
constexpr Rect kGaugeB{12, 16, 89, 8};
constexpr Rect kItemA{0, 24, 32, 32};
constexpr Rect kItemB{32, 24, 32, 32};
constexpr int kDigitY = 64;  // digit d at x 12*d, 12x10
constexpr int kDigitW = 12;
constexpr int kDigitH = 10;
constexpr Rect kHudFrame{102, 0, 104, 64};
constexpr Rect kHudPanel{206, 0, 102, 51};
constexpr Rect kNoticeTail{169, 15, 26, 10};  // inside the HUD frame: right after the score
constexpr Rect kRecordLabelA{308, 0, 165, 15};
constexpr Rect kRecordLabelB{308, 15, 145, 15};
constexpr Rect kRecordNotice{207, 52, 75, 10};
constexpr Rect kLogo{0, 75, 422, 117};
constexpr Rect kModeA{0, 192, 105, 23};
constexpr Rect kModeB{0, 215, 105, 23};
constexpr Rect kRetry{0, 238, 97, 23};
constexpr Rect kExit{0, 261, 85, 23};
constexpr Rect kTitle{0, 284, 97, 23};
constexpr Rect kGameOver{122, 192, 239, 117};

// Screen positions that decide what the HUD frame and the record labels must leave
// free: numbers and bars are drawn over them there.
constexpr int kHudFrameScreenX = 10, kHudFrameScreenY = 0;
constexpr Rect kScoreOnScreen{14, 15, 60, 10};
constexpr Rect kSpeedOnScreen{85, 30, 24, 10};
constexpr Rect kProgressOnScreen{16, 31, 36, 8};
constexpr Rect kGaugeOnScreen{16, 47, 89, 8};
constexpr int kRecordALabelScreenX = 29, kRecordBLabelScreenX = 308, kRecordLabelScreenY = 227;
constexpr int kRecordADigitsX = 41, kRecordBDigitsX = 367, kRecordDigitsY = 232;
}  // namespace sheet

Image DrawSheet();

// One cave: a 480x320 picture in the three map colours, made from its text file.
namespace cave {
constexpr int kWidth = 480;
constexpr int kHeight = 320;
constexpr Rgb kClear{20, 20, 20};     // open space, transparent in the game
constexpr Rgb kGrey{155, 155, 155};   // rock, the face and the body
constexpr Rgb kDark{0, 0, 0};         // rock, the grain inside
// Every cave meets every other at its edges: the same ceiling and floor rows there.
constexpr int kEdgeCeiling = 112;  // first open row at both edges
constexpr int kEdgeFloor = 208;    // first rock row at both edges
constexpr int kNarrowest = 20;     // no gap between rocks is narrower
}  // namespace cave

Image DrawCave(const std::string& sourcePath);
