// PushKey: a key event onto SDL's queue, as a key press or release of the keyboard would
// put it there. Header-only and without gtest: the WebAssembly frame-sums build uses it too.
#pragma once
#include <SDL.h>

inline void PushKey(Uint8 type, SDLKey sym) {
    SDL_Event e{};
    e.type = e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}
