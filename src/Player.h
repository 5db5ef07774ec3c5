// Player: one 12x12 image of the ship. The round keeps twenty: the ship that the
// player steers and its trail of nineteen earlier positions.
#pragma once
#include <SDL.h>

constexpr int kShipStep = 5;     // pixels per frame of an ordinary move
constexpr int kShipStartX = 0;   // at the left edge of the screen
constexpr int kShipStartY = 154; // the 12x12 box centred on the 320 rows
constexpr int kShipMaxX = 466;   // a ship further right than this is put back to 467

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
