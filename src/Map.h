// Map: the cave, a strip of full-screen images sliding right to left. Draws the two
// images on screen each frame, shoves the ship when a wall reaches it from the right,
// and in Mode B shifts the whole strip up or down.
#pragma once
#include <SDL.h>
#include <cstdio>

#include "Tuning.h"

constexpr int kMapCount = 20;
constexpr int kMapNameMax = 29;  // characters of one name in the map list

class Map {
public:
    Map();
    ~Map();
    Map(const Map&) = delete;  // owns its twenty images
    Map& operator=(const Map&) = delete;

    void ScrollDraw(SDL_Surface* screen, int* shipX, int* shipY, int boost);
    void Move(SDL_Surface* screen, unsigned char keys, int shipX, int shipY, int boost, int mode);

    SDL_Surface* mapImage[kMapCount];
    FILE* listFile;
    char mapName[kMapNameMax + 1];
    SDL_Rect curSrc;
    SDL_Rect nextSrc;
    int current;
    int next;
    int pickNext;
    int scroll;
    int offsetY;
    SDL_Rect curDst;
    SDL_Rect nextDst;
    int speed;
    int verticalStep;

private:
    enum class NameRead { kName, kNoName, kTooLong };

    void PrintListLine() const;
    void LoadImages();
    NameRead ReadName();
    bool NameContinues();
    void SkipRestOfName();
    void LoadSlot(int slot, bool refused);
    void ResetStrip();

    void WrapStrip();
    void PickNextImage();
    void BlitImage(SDL_Surface* screen, int slot, SDL_Rect* src, SDL_Rect* dst);
    void PushBack(SDL_Surface* screen, int* shipX, int shipY);
    void ShiftStrip(SDL_Surface* screen, int shipX, int shipY, int direction, int freeShift);
};
