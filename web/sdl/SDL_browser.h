/* SDL_browser.h: what the patched dummy video driver calls on the page (SDL_browser.c). */
#ifndef _SDL_browser_h
#define _SDL_browser_h
#include "SDL_video.h"

void SDL_Browser_Present(SDL_Surface *screen);  /* the display surface onto the canvas */
void SDL_Browser_PumpEvents(void);              /* the page's keys into SDL's queue */

#endif
