// A gamepad for the real-window journey, where no pad can be plugged in: preloaded into
// the game on sdl12-compat, it attaches one of SDL2's virtual game controllers before the
// game starts SDL, then moves it as told by the lines of the FIFO named in COMET_TEST_PAD:
// "b BUTTON 0|1", "h HAT_BITS", "a AXIS VALUE" (the raw numbering SDL2 gives it, as an XInput pad has).
#include <dlfcn.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

enum { kTypeGameController = 1, kAxes = 6, kButtons = 15, kHats = 1, kJoystickSubsystem = 0x200 };

static void* sdl2;
static void* (*open_pad)(int);
static int (*set_button)(void*, int, unsigned char);
static int (*set_hat)(void*, int, unsigned char);
static int (*set_axis)(void*, int, short);
static unsigned (*was_init)(unsigned);

static void* follow_the_fifo(void* path) {
    void* pad = NULL;
    while (!(was_init(kJoystickSubsystem) && (pad = open_pad(0)))) usleep(20000);
    FILE* fifo = fopen(static_cast<const char*>(path), "r");
    char what;
    int n, value;
    while (fifo && fscanf(fifo, " %c %d", &what, &n) == 2) {
        if (what == 'h') { set_hat(pad, 0, (unsigned char)n); continue; }
        if (fscanf(fifo, " %d", &value) != 1) break;
        if (what == 'b') set_button(pad, n, (unsigned char)value);
        if (what == 'a') set_axis(pad, n, (short)value);
    }
    return NULL;
}

__attribute__((constructor)) static void attach_a_virtual_pad(void) {
    const char* path = getenv("COMET_TEST_PAD");
    // Only the game, which has SDL 1.2 loaded: not the shell and tools that launch it.
    if (!path || !dlopen("libSDL-1.2.so.0", RTLD_NOW | RTLD_NOLOAD)) return;
    if (!(sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL))) return;
    int (*attach)(int, int, int, int) = (int (*)(int, int, int, int))dlsym(sdl2, "SDL_JoystickAttachVirtual");
    open_pad = (void* (*)(int))dlsym(sdl2, "SDL_JoystickOpen");
    set_button = (int (*)(void*, int, unsigned char))dlsym(sdl2, "SDL_JoystickSetVirtualButton");
    set_hat = (int (*)(void*, int, unsigned char))dlsym(sdl2, "SDL_JoystickSetVirtualHat");
    set_axis = (int (*)(void*, int, short))dlsym(sdl2, "SDL_JoystickSetVirtualAxis");
    was_init = (unsigned (*)(unsigned))dlsym(sdl2, "SDL_WasInit");
    if (!attach || attach(kTypeGameController, kAxes, kButtons, kHats) < 0) return;
    pthread_t thread;
    pthread_create(&thread, NULL, follow_the_fifo, const_cast<char*>(path));
    pthread_detach(thread);
}
