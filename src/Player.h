// Player: one 12x12 image of the ship. The round keeps twenty: the ship that the
// player steers and its trail of nineteen earlier positions.
#pragma once
#include <SDL.h>

#include "Tuning.h"

class Player {
public:
    Player();
    ~Player() = default;

    // Draws the sprite of its mode and state with whatever alpha the sheet has.
    void Draw(SDL_Surface* screen, SDL_Surface* sheet, int mode);
    // Moves by the held arrows, testing the walls of the frame drawn so far.
    void Move(SDL_Surface* screen, unsigned char keys, int boost, int mode);

    SDL_Rect src;
    SDL_Rect dst;
    int step;
    int x;
    int y;
    int state;  // 1 while boosting: selects the boost look

private:
    void PickSprite(int mode);
    void StepWhileFree(SDL_Surface* screen, int* coord, int sign, int direction);
    void Slide(SDL_Surface* screen, int boost, int sign, int direction);
};
