// Test support: scratch working folders, captured console output, a headless display
// surface, pixels written and read raw, key events, and images written with SDL.
#pragma once
#include <SDL.h>

#include <string>

#include "PushKey.h"

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

// A whole file, "" when missing.
std::string ReadFile(const std::string& path);

// Everything written to standard output between Start and Stop (printf, puts, putchar).
void StartCapture();
std::string StopCapture();

// Raw 0xRRGGBB values (as GetPixel reads them) into a 24-bit surface.
void FillRaw(SDL_Surface* s, int x, int y, int w, int h, Uint32 raw);

// BMPs written with SDL_SaveBMP; the folders on the way are made.
void WriteSurfaceBmp(const std::string& path, SDL_Surface* s);
void WriteSolidBmp(const std::string& path, int w, int h, Uint32 raw);
// A sprite sheet good enough for start-up: image/material.bmp, as large as the real one, no wall colour.
void WriteTestSheet();
// Two open caves, nothing but the clear colour, listed in image/mapImg/map.dat.
void WriteOpenCaves();

}  // namespace testsupport
