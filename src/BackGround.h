// BackGround: one star of the star field, a white pixel drifting left two pixels a
// frame faster than the cave and coming back at the right edge at a new height.
#pragma once
#include <SDL.h>

class BackGround {
public:
    BackGround();
    ~BackGround();

    void Draw(SDL_Surface* target, unsigned int color);
    void Move(int speed);

    SDL_Surface* surface;  // the display surface in use; not owned
    SDL_Rect dst;
    int x;
    int y;
};
