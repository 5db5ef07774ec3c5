/* SDL_image.h for the browser build: the one SDL_image call the game makes. The game's
   art is 24-bit BMP only, which SDL_image reads with SDL's own BMP rules (IMG_bmp.c). */
#ifndef _SDL_IMAGE_H
#define _SDL_IMAGE_H
#include "SDL.h"

#ifdef __cplusplus
extern "C" {
#endif

SDL_Surface *IMG_Load(const char *file);
#define IMG_GetError SDL_GetError

#ifdef __cplusplus
}
#endif
#endif
