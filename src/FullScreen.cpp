// FullScreen: SDL 1.2's full-screen toggle, and on sdl12-compat SDL2's integer scaling of
// the renderer that sdl12-compat draws with, reached through the SDL2 library it has loaded.
#include "FullScreen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <dlfcn.h>
#endif

#include "Screen.h"

namespace {

constexpr double kFillsMost = 0.85;  // of the largest fit, as on the web page

bool Asked() {
    const char* value = std::getenv("COMET_FULLSCREEN");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
// The parts of SDL2's API used here (SDL_video.h, SDL_render.h); SDL2's headers cannot be
// included beside SDL 1.2's.
struct Sdl2DisplayMode {
    Uint32 format;
    int w, h, refreshRate;
    void* driverData;
};
constexpr Uint32 kFirstWindowIds = 8;  // sdl12-compat makes one window; its id is small

// Whole pixels on sdl12-compat: nothing to do on classic SDL, where SDL2 is not loaded.
void KeepWholePixels() {
    void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!sdl2) return;
    auto desktopMode = reinterpret_cast<int (*)(int, Sdl2DisplayMode*)>(dlsym(sdl2, "SDL_GetDesktopDisplayMode"));
    auto windowFromId = reinterpret_cast<void* (*)(Uint32)>(dlsym(sdl2, "SDL_GetWindowFromID"));
    auto rendererOf = reinterpret_cast<void* (*)(void*)>(dlsym(sdl2, "SDL_GetRenderer"));
    auto integerScale = reinterpret_cast<int (*)(void*, int)>(dlsym(sdl2, "SDL_RenderSetIntegerScale"));
    Sdl2DisplayMode mode{};
    if (desktopMode && windowFromId && rendererOf && integerScale && desktopMode(0, &mode) == 0 &&
        FullScreen::WholeFactor(mode.w, mode.h) > 0) {
        for (Uint32 id = 1; id <= kFirstWindowIds; ++id) {
            void* window = windowFromId(id);
            void* renderer = window ? rendererOf(window) : nullptr;
            if (renderer) integerScale(renderer, 1);
        }
    }
    dlclose(sdl2);  // only drops the count dlopen added
}
#else
void KeepWholePixels() {}
#endif

}  // namespace

int FullScreen::WholeFactor(int width, int height) {
    const double fit = std::min(static_cast<double>(width) / kScreenWidth,
                                static_cast<double>(height) / kScreenHeight);
    const int whole = static_cast<int>(fit);
    return whole >= 1 && whole >= fit * kFillsMost ? whole : 0;
}

void FullScreen::ShowWhenAsked(SDL_Surface* screen) {
    if (!Asked()) return;
    SDL_WM_ToggleFullScreen(screen);
    KeepWholePixels();
}
