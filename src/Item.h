// Item: one energy item, a 32x32 sprite drifting diagonally and bouncing off the
// screen edges; it fades in when placed and fades out once the ship has crashed.
#pragma once
#include <SDL.h>

class Item {
public:
    Item();
    ~Item() = default;

    void Init();  // a new random position; direction and alpha are kept
    void Draw(SDL_Surface* screen, SDL_Surface* sheet, int gameOver, int mode);
    void Move();

    SDL_Rect src;
    int dx;
    int dy;
    SDL_Rect pos;  // top-left corner on the screen, also the blit destination
    int alpha;     // 0 invisible .. 255 opaque; only an opaque item can be picked up

private:
    void Fade(int gameOver);
};
