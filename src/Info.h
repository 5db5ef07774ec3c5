// Info: every number on screen, drawn from the digit strip of the sprite sheet — the
// round's HUD (score, speed, progress, energy gauge), the title's records and the
// blinking record notice. It also holds the energy gauge the round rules change.
#pragma once
#include <SDL.h>

#include "Tuning.h"

class Info {
public:
    Info();
    ~Info() = default;

    void Draw(SDL_Surface* screen, SDL_Surface* sheet, int speed, int score, int mode);
    void titleRec(SDL_Surface* screen, SDL_Surface* sheet, int recordA, int recordB);
    void RecDraw(SDL_Surface* screen, SDL_Surface* sheet, int score);
    void drawNumber2(SDL_Surface* screen, SDL_Surface* sheet, int x, SDL_Rect rect, int number);
    void drawNumber5(SDL_Surface* screen, SDL_Surface* sheet, int x, SDL_Rect rect, int number);

    SDL_Rect frameSrc, frameDst;
    SDL_Rect panelSrc, panelDst;
    SDL_Rect gaugeSrc, gaugeDst;
    SDL_Rect digitSrc;
    SDL_Rect speedPos;
    SDL_Rect scorePos;
    SDL_Rect progressSrc, progressDst;
    SDL_Rect recALabelSrc, recALabelDst;
    SDL_Rect recAPos;
    SDL_Rect recBLabelSrc, recBLabelDst;
    SDL_Rect recBPos;
    SDL_Rect noticeSrc, noticeDst;
    SDL_Rect noticeTailSrc, noticeTailDst;
    SDL_Rect noticePos;
    int blinkAlpha;
    int blinkStep;
    int gauge;

private:
    void DrawDigits(SDL_Surface* screen, SDL_Surface* sheet, int x, SDL_Rect rect, int number,
                    int cells, int divisor);
    void AdvanceBlink();
};
