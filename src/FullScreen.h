// FullScreen: the game in full screen when the launcher asks for it (COMET_FULLSCREEN=1
// in the environment, set by `comet-drifter --fullscreen`); the game itself has no option.
#pragma once
#include <SDL.h>

class FullScreen {
public:
    // After the video mode is set: goes full screen when asked. On sdl12-compat, which
    // scales the picture to the largest fit, it also keeps every game pixel a whole square
    // of the screen's pixels when such a factor fills most of the screen (the web page's
    // rule); classic SDL 1.2 shows the picture unscaled in the middle.
    static void ShowWhenAsked(SDL_Surface* screen);

    // The factor the picture is shown at on a WIDTH x HEIGHT screen: the largest whole
    // factor when it fills at least 85 % of the largest fit, else 0 (the largest fit).
    static int WholeFactor(int width, int height);
};
