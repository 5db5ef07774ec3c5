// DrawPixel: plots one mapped colour; nothing is drawn outside the clip rectangle.
#include "DrawPixel.h"

namespace {

bool InsideClip(const SDL_Surface* surface, int x, int y) {
    const SDL_Rect& clip = surface->clip_rect;
    return x >= clip.x && y >= clip.y && x < clip.x + clip.w && y < clip.y + clip.h;
}

}  // namespace

void Draw_Pixel(SDL_Surface* surface, Sint16 x, Sint16 y, Uint32 color) {
    if (!surface || !surface->pixels || !InsideClip(surface, x, y)) return;
    const int bpp = surface->format->BytesPerPixel;
    Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
    case 1:
        *p = static_cast<Uint8>(color);
        break;
    case 2:
        *reinterpret_cast<Uint16*>(p) = static_cast<Uint16>(color);
        break;
    case 3:  // lowest address holds the least significant byte, as GetPixel reads it
        p[0] = color & 0xff;
        p[1] = (color >> 8) & 0xff;
        p[2] = (color >> 16) & 0xff;
        break;
    case 4:
        *reinterpret_cast<Uint32*>(p) = color;
        break;
    default:
        break;
    }
}
