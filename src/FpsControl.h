// FpsControl: holds the game to one frame every 16 ms on a fixed grid, and prints the
// frames drawn in each second during a round.
#pragma once
#include <SDL.h>

constexpr Uint32 kFrameMs = 16;        // the game's only clock: one frame every 16 ms
constexpr Uint32 kReportEveryMs = 1000;

class FpsControl {
public:
    using Clock = Uint32 (*)();
    using Sleep = void (*)(Uint32);

    // The game uses SDL's clock and sleep; tests hand in their own.
    explicit FpsControl(Clock clock = SDL_GetTicks, Sleep sleep = SDL_Delay);
    ~FpsControl() = default;

    void FpsWait();     // sleeps until 16 ms after the previous frame boundary
    void FpsDisplay();  // counts a frame; prints "%dFPS" once more than a second has passed

    Uint32 nowTime;
    Uint32 waitTime;
    Uint32 lastTime;    // the previous frame boundary
    Uint32 reportTime;  // when the last report was printed
    int frameCount;     // frames since the last report

private:
    Clock clock_;
    Sleep sleep_;
};
