/* SDL_browser.c: added to SDL 1.2.15's build for the browser. The dummy video driver
   calls these two (0001-dummy-video-shows-on-the-canvas.patch): at every update the
   24-bit display surface goes onto the page's canvas, and at every event pump the keys
   the page caught become SDL key events. The JavaScript side (web/page/comet-pre.js)
   keeps the canvas and the queue; without it (a test under node) frames are shown
   nowhere and no keys come. */
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
    if (Module.cometPutFrame)
        Module.cometPutFrame(HEAPU8.subarray(pixels, pixels + width * height * 4), width, height);
});

/* One row of the game's display layout (3 bytes a pixel, B G R in memory) as RGBA. */
static void RowBgrToRgba(const Uint8 *in, Uint8 *out, int width)
{
    int x;
    for (x = 0; x < width; ++x, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 255;
    }
}

/* Any other layout, one pixel at a time through its masks. */
static void RowAnyToRgba(const Uint8 *in, Uint8 *out, int width, const SDL_PixelFormat *f)
{
    int x;
    for (x = 0; x < width; ++x, in += f->BytesPerPixel) {
        Uint32 p = 0;
        SDL_memcpy(&p, in, f->BytesPerPixel);
        *out++ = (Uint8)((p & f->Rmask) >> f->Rshift);
        *out++ = (Uint8)((p & f->Gmask) >> f->Gshift);
        *out++ = (Uint8)((p & f->Bmask) >> f->Bshift);
        *out++ = 255;
    }
}

void SDL_Browser_Present(SDL_Surface *screen)
{
    const int size = screen->w * screen->h * 4;
    const SDL_PixelFormat *f = screen->format;
    const int bgr = f->BytesPerPixel == 3 && f->Rmask == 0xff0000 && f->Gmask == 0xff00 &&
                    f->Bmask == 0xff;
    int y;
    if (size > rgbaSize) {
        rgba = SDL_realloc(rgba, size);
        rgbaSize = rgba ? size : 0;
        if (!rgba) return;
    }
    for (y = 0; y < screen->h; ++y) {
        const Uint8 *in = (const Uint8 *)screen->pixels + y * screen->pitch;
        Uint8 *out = rgba + y * screen->w * 4;
        if (bgr) RowBgrToRgba(in, out, screen->w);
        else RowAnyToRgba(in, out, screen->w, f);
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
