// KeyState: drains the event queue once a frame; key events report changes only,
// so a bit of `keys` stays set from an arrow's press to its release.
#include "KeyState.h"

#include "Gamepad.h"

KeyState::KeyState() : keys(0) {}

void KeyState::Key(SDL_Event event, int* boost, int gameOver, int* roundEnd, int* quit,
                   int* started, int* mode) {
    while (SDL_PollEvent(&event)) {
        // A pad's events become the keyboard's key events; keys held by both are merged.
        SDL_Event asKeys[Gamepad::kMaxKeysPerEvent];
        const int count = Gamepad::Shared().AsKeys(event, asKeys);
        for (int i = 0; i < count; ++i) {
            Handle(asKeys[i], boost, gameOver, roundEnd, quit, started, mode);
        }
    }
}

void KeyState::Handle(const SDL_Event& event, int* boost, int gameOver, int* roundEnd, int* quit,
                      int* started, int* mode) {
    switch (event.type) {
    case SDL_KEYDOWN:
        KeyDown(event.key.keysym.sym, boost, gameOver, roundEnd, quit, started, mode);
        break;
    case SDL_KEYUP:
        KeyUp(event.key.keysym.sym, boost);
        break;
    case SDL_QUIT:  // the window's close button leaves from anywhere, like Escape
        *quit = 1;
        *started = 1;
        *roundEnd = kRoundRetry;
        break;
    default:
        break;
    }
}

void KeyState::KeyDown(SDLKey sym, int* boost, int gameOver, int* roundEnd, int* quit,
                       int* started, int* mode) {
    const bool playing = gameOver == 0;
    const bool crashed = gameOver == 1;
    switch (sym) {
    case SDLK_ESCAPE:
        *quit = 1;
        *started = 1;
        *roundEnd = kRoundRetry;
        break;
    case SDLK_SPACE:
        if (playing) *boost = 1;
        break;
    case SDLK_a:
    case SDLK_b:
        // Mode keys count only on the title screen; the first one pressed wins.
        if (*started == 0) {
            *mode = sym == SDLK_a ? kModeA : kModeB;
            *started = 1;
        }
        break;
    case SDLK_e:
        if (crashed) {
            *quit = 1;
            *roundEnd = kRoundRetry;
        }
        if (*started == 0) {
            *started = 1;
            *quit = 1;
        }
        break;
    case SDLK_r:
        if (crashed) *roundEnd = kRoundRetry;
        break;
    case SDLK_t:
        if (crashed) *roundEnd = kRoundTitle;
        break;
    case SDLK_UP:
        if (playing) keys |= kKeyUp;
        break;
    case SDLK_DOWN:
        if (playing) keys |= kKeyDown;
        break;
    case SDLK_LEFT:
        if (playing) keys |= kKeyLeft;
        break;
    case SDLK_RIGHT:
        if (playing) keys |= kKeyRight;
        break;
    default:
        break;
    }
}

void KeyState::KeyUp(SDLKey sym, int* boost) {
    // Releases always count, even after the crash.
    switch (sym) {
    case SDLK_SPACE: *boost = 0; break;
    case SDLK_UP: keys &= ~kKeyUp; break;
    case SDLK_DOWN: keys &= ~kKeyDown; break;
    case SDLK_LEFT: keys &= ~kKeyLeft; break;
    case SDLK_RIGHT: keys &= ~kKeyRight; break;
    default: break;
    }
}
