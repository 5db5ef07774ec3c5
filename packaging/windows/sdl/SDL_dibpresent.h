/* SDL_dibpresent.h: how the patched windib driver shows the display surface on the
   screen (SDL_dibpresent.c). The surface the program draws in and reads back keeps its
   own size; only what reaches the window is scaled. */
#ifndef _SDL_dibpresent_h
#define _SDL_dibpresent_h
#include "../SDL_sysvideo.h"

/* At the driver's start, before its window exists: DPI awareness, the full-screen switch. */
void DIB_PresentInit(void);
/* Sizes, styles and places the window for a WIDTHxHEIGHT surface; 0 when SDL's own
   placement applies instead (real full-screen modes, OpenGL, a window SDL did not make). */
int DIB_PresentPlaceWindow(_THIS, int width, int height, Uint32 flags);
/* The whole surface, held in the memory DC MDC, onto the window's HDC; 0 when the window
   is not one DIB_PresentPlaceWindow placed (SDL's own copy applies). */
int DIB_PresentPicture(_THIS, HDC hdc, HDC mdc);
/* The same with the black round the picture, for WM_PAINT. */
int DIB_PresentAll(_THIS, HDC hdc, HDC mdc);
/* Alt+Enter: between the window and full screen; 0 when there is nothing to switch. */
int DIB_PresentToggle(_THIS);

#endif
