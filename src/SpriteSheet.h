// SpriteSheet: where each sprite lies on image/material.bmp (black is transparent there),
// and where the fixed ones go on screen. The game copies from these rectangles, the art
// generator draws into them, and the tests check the generated sheet against them.
#pragma once
#include <SDL.h>

namespace sheet {
constexpr int kWidth = 473;  // the extent of all rectangles together
constexpr int kHeight = 309;

constexpr SDL_Rect kShip{0, 0, 12, 12};
constexpr SDL_Rect kShipBoostA{0, 12, 12, 12};  // Mode A: the row below the ship
constexpr SDL_Rect kShipBoostB{64, 24, 12, 12};
constexpr SDL_Rect kItemA{0, 24, 32, 32};
constexpr SDL_Rect kItemB{32, 24, 32, 32};
constexpr SDL_Rect kProgress{12, 0, 36, 8};  // drawn as wide as the progress to the next speed
constexpr SDL_Rect kGaugeA{12, 8, 89, 8};    // drawn as wide as the energy gauge
constexpr SDL_Rect kGaugeB{12, 16, 89, 8};
constexpr SDL_Rect kDigit{0, 64, 12, 10};    // digit d lies kDigit.w * d further right
constexpr SDL_Rect kHudFrame{102, 0, 104, 64};
constexpr SDL_Rect kHudPanel{206, 0, 102, 51};
constexpr SDL_Rect kNoticeTail{169, 15, 26, 10};
constexpr SDL_Rect kRecordNotice{207, 52, 75, 10};
constexpr SDL_Rect kRecordLabelA{308, 0, 165, 15};
constexpr SDL_Rect kRecordLabelB{308, 15, 145, 15};
constexpr SDL_Rect kLogo{0, 75, 422, 117};
constexpr SDL_Rect kModeA{0, 192, 105, 23};
constexpr SDL_Rect kModeB{0, 215, 105, 23};
constexpr SDL_Rect kRetry{0, 238, 97, 23};
constexpr SDL_Rect kExit{0, 261, 85, 23};
constexpr SDL_Rect kTitle{0, 284, 97, 23};
constexpr SDL_Rect kGameOver{122, 192, 239, 117};
}  // namespace sheet

// Top-left corners on screen; a blit takes its size from the sheet's rectangle.
namespace spot {
constexpr SDL_Rect kHudFrame{10, 0, 0, 0};
constexpr SDL_Rect kHudPanel{11, 12, 0, 0};
constexpr SDL_Rect kScore{14, 15, 0, 0};  // five digits
constexpr SDL_Rect kSpeed{85, 30, 0, 0};  // two digits
constexpr SDL_Rect kProgress{16, 31, 0, 0};
constexpr SDL_Rect kGauge{16, 47, 0, 0};
constexpr SDL_Rect kRecordLabelA{29, 227, 0, 0};
constexpr SDL_Rect kRecordA{41, 232, 0, 0};
constexpr SDL_Rect kRecordLabelB{308, 227, 0, 0};
constexpr SDL_Rect kRecordB{367, 232, 0, 0};
constexpr SDL_Rect kRecordNotice{211, 51, 0, 0};
constexpr SDL_Rect kNoticeScore{207, 66, 0, 0};
constexpr SDL_Rect kNoticeTail{267, 66, 0, 0};
constexpr SDL_Rect kLogo{29, 80, 0, 0};
constexpr SDL_Rect kModeA{130, 207, 0, 0};
constexpr SDL_Rect kModeB{245, 207, 0, 0};
constexpr SDL_Rect kGameOver{121, 86, 0, 0};
constexpr SDL_Rect kRetry{139, 213, 0, 0};
constexpr SDL_Rect kTitle{246, 213, 0, 0};
constexpr Sint16 kExitX = 198;  // the exit prompt sits lower under the game-over overlay
constexpr Sint16 kExitOnTitleY = 240;
constexpr Sint16 kExitOnGameOverY = 246;
}  // namespace spot
