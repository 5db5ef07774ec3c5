// PushKey: a key event onto SDL's queue, as a key press or release of the keyboard would
// put it there; PushQuit: the window's close request. Header-only and without gtest: the
// WebAssembly and Windows frame-sums builds use it too.
#pragma once
#include <SDL.h>

inline void PushKey(Uint8 type, SDLKey sym) {
    SDL_Event e{};
    e.type = e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

// The window's close request.
inline void PushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}
