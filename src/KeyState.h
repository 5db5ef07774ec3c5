// KeyState: turns the SDL event queue into the game's control state — the held
// arrows as a bitmask, and the Game flags set by single presses and the close button.
#pragma once
#include <SDL.h>

// Play modes, chosen on the title with a or b.
constexpr int kModeA = 0;  // the ship moves all four ways
constexpr int kModeB = 1;  // up and down shift the cave instead

// Values of roundEnd: the round goes on, or ends at the end of this frame.
constexpr int kRoundGoesOn = 0;
constexpr int kRoundRetry = 1;  // leave the round: another one in the same mode, or quit with `quit`
constexpr int kRoundTitle = 2;  // leave the round for the title screen

// Bits of KeyState::keys.
constexpr unsigned char kKeyUp = 1;
constexpr unsigned char kKeyDown = 2;
constexpr unsigned char kKeyLeft = 4;
constexpr unsigned char kKeyRight = 8;

class KeyState {
public:
    KeyState();
    ~KeyState() = default;

    // Drains the whole event queue. `event` is only a buffer for SDL_PollEvent. A
    // gamepad's events arrive as the keys they stand for (Gamepad).
    void Key(SDL_Event event, int* boost, int gameOver, int* roundEnd, int* quit, int* started,
             int* mode);

    SDL_Event event;     // never read; callers hand it to Key as its polling buffer
    unsigned char keys;  // arrows held now: kKeyUp | kKeyDown | kKeyLeft | kKeyRight

private:
    void Handle(const SDL_Event& event, int* boost, int gameOver, int* roundEnd, int* quit,
                int* started, int* mode);
    void KeyDown(SDLKey sym, int* boost, int gameOver, int* roundEnd, int* quit, int* started,
                 int* mode);
    void KeyUp(SDLKey sym, int* boost);
};
