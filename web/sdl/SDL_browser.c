/* SDL_browser.c: added to SDL 1.2.15's build for the browser. The dummy video driver
   calls these two (see patches/0001): at every update the 24-bit display surface goes
   onto the page's canvas, and at every event pump the keys the page caught become SDL
   key events. The JavaScript side (page/comet-pre.js) keeps the canvas and the queue;
   without it (a test under node) frames are shown nowhere and no keys come. */
#include "SDL_config.h"
#include <emscripten.h>

#include "SDL.h"
#include "../../events/SDL_events_c.h"
#include "SDL_browser.h"

/* The page's canvas takes RGBA bytes; this holds one frame of them. */
static Uint8 *rgba;
static int rgbaSize;

/* Copies the whole surface, whatever rectangle was updated: a frame is 600 KiB of RGBA
   and the game always flips the whole screen. */
EM_JS(void, browser_put_frame, (const Uint8 *pixels, int width, int height), {
    if (Module.cometPutFrame) Module.cometPutFrame(HEAPU8.subarray(pixels, pixels + width * height * 4), width, height);
});

void SDL_Browser_Present(SDL_Surface *screen)
{
    const int size = screen->w * screen->h * 4;
    const SDL_PixelFormat *f = screen->format;
    Uint8 *out;
    int x, y;
    if (size > rgbaSize) {
        rgba = SDL_realloc(rgba, size);
        rgbaSize = rgba ? size : 0;
        if (!rgba) return;
    }
    out = rgba;
    for (y = 0; y < screen->h; ++y) {
        const Uint8 *row = (const Uint8 *)screen->pixels + y * screen->pitch;
        for (x = 0; x < screen->w; ++x) {
            Uint32 p = 0;
            SDL_memcpy(&p, row + x * f->BytesPerPixel, f->BytesPerPixel);
            *out++ = (Uint8)((p & f->Rmask) >> f->Rshift);
            *out++ = (Uint8)((p & f->Gmask) >> f->Gshift);
            *out++ = (Uint8)((p & f->Bmask) >> f->Bshift);
            *out++ = 255;
        }
    }
    browser_put_frame(rgba, screen->w, screen->h);
}

/* The page's queue, one entry at a time: (kind << 16) | SDL key symbol, 0 when empty. */
enum { kKeyUp = 1, kKeyDown = 2, kFocusLost = 3, kFocusGained = 4 };
EM_JS(int, browser_next_input, (void), {
    return Module.cometTakeInput ? Module.cometTakeInput() : 0;
});

static void PressOrRelease(Uint8 state, int sym)
{
    SDL_keysym key;
    SDL_memset(&key, 0, sizeof key);
    key.sym = (SDLKey)sym;
    key.mod = KMOD_NONE;
    SDL_PrivateKeyboard(state, &key);
}

void SDL_Browser_PumpEvents(void)
{
    int input;
    while ((input = browser_next_input()) != 0) {
        const int kind = input >> 16, sym = input & 0xffff;
        switch (kind) {
        case kKeyDown: PressOrRelease(SDL_PRESSED, sym); break;
        case kKeyUp: PressOrRelease(SDL_RELEASED, sym); break;
        /* As SDL's X11 driver does when the window loses focus: held keys are released. */
        case kFocusLost: SDL_PrivateAppActive(0, SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS); break;
        case kFocusGained: SDL_PrivateAppActive(1, SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS); break;
        }
    }
}
