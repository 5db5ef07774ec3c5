// DrawPixel: the one plotting routine the game needs, plotting a single mapped
// colour into a surface of 1 to 4 bytes per pixel, clipped to its clip rectangle.
#pragma once
#include <SDL.h>

void Draw_Pixel(SDL_Surface* surface, Sint16 x, Sint16 y, Uint32 color);
