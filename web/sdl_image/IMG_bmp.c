/* IMG_bmp.c: IMG_Load for the browser build, BMP only. Debian's sdl-image1.2 source
   cannot be fetched from the archive (its tarballs are missing there), and its BMP
   reader is SDL's own, so SDL 1.2's SDL_LoadBMP_RW reads the game's art the same way:
   a 24-bit file gives a 24-bit surface with masks 0xff0000, 0xff00, 0xff.
   tests/golden/frame_sums.cpp checks every frame against the desktop build. */
#include "SDL_image.h"

SDL_Surface *IMG_Load(const char *file)
{
    return SDL_LoadBMP_RW(SDL_RWFromFile(file, "rb"), 1);
}
