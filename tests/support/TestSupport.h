// Test support: scratch working folders, captured console output, a headless display
// surface and hand-made sprite sheets and map images for the tests.
#pragma once
#include <SDL.h>

#include <string>
#include <vector>

namespace testsupport {

// A fresh temporary folder that is the working directory while the object lives.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string Read(const std::string& name) const;  // whole file, "" when missing
    void Write(const std::string& name, const std::string& text) const;

private:
    std::string path_;
    std::string previous_;
};

// Runs SDL with the dummy driver and opens the 480x320x24 display surface.
class Display {
public:
    Display();
    ~Display();
    SDL_Surface* screen() const { return screen_; }

private:
    SDL_Surface* screen_;
};

// Everything written to standard output between Start and Stop (printf, puts, putchar).
void StartCapture();
std::string StopCapture();

// A 24-bit surface of w x h filled with one colour (r, g, b).
SDL_Surface* MakeSurface(int w, int h, Uint8 r, Uint8 g, Uint8 b);
// Writes a 24-bit BMP of w x h in one colour; makes the folders on the way.
void WriteSolidBmp(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b);
// A sprite sheet good enough for start-up: image/material.bmp, 473x309, no wall colour.
void WriteTestSheet(const std::string& folder = ".");

// A sheet whose digit cell d is one solid colour of its own, DigitColour(d), so numbers
// drawn on screen can be read back; written as image/material.bmp.
Uint32 DigitColour(int d);
void WriteDigitSheet();
// The digit whose colour is at the middle of the 12x10 cell drawn at (x, y), or -1.
int DigitAt(SDL_Surface* screen, int x, int y);
// Two open caves, nothing but the clear colour, listed in image/mapImg/map.dat.
void WriteOpenCaves();

// Sets one pixel of a 24-bit surface to the raw value 0xRRGGBB (as GetPixel reads it).
void PutRaw(SDL_Surface* s, int x, int y, Uint32 raw);
// Fills a rectangle with the raw value.
void FillRaw(SDL_Surface* s, int x, int y, int w, int h, Uint32 raw);

// Pushes a key event (SDL_KEYDOWN or SDL_KEYUP) or a quit request onto the queue.
void PushKey(Uint8 type, SDLKey sym);
void PushQuit();

// Writes any surface as a BMP (SDL_SaveBMP); makes the folders on the way.
void WriteSurfaceBmp(const std::string& path, SDL_Surface* s);

// A BMP as plain 0xRRGGBB pixels, row by row; empty (and w = h = 0) when it cannot load.
std::vector<Uint32> LoadRgb(const std::string& path, int* w, int* h);
// A whole file's bytes, "" when missing.
std::string ReadFileBytes(const std::string& path);

// A 480x320 map image, open (20,20,20) on its left half and wall grey on its right, as
// an 8-bit palette BMP (bits 8) or a 32-bit BMP whose alpha byte is 0x80 (bits 32).
void WriteHalfWallBmp(const std::string& path, int bits);

}  // namespace testsupport
