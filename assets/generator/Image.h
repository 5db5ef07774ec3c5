// Image: a plain 24-bit picture in memory, written out as a 24-bit BMP.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

constexpr Rgb kBlack{0, 0, 0};  // transparent on the sheet, rock on a map

// A raw 0xRRGGBB pixel value as a colour.
constexpr Rgb RgbOfRaw(uint32_t raw) {
    return {static_cast<uint8_t>(raw >> 16), static_cast<uint8_t>(raw >> 8), static_cast<uint8_t>(raw)};
}

// Mixes a toward b by t (0..1), rounded; used for gradients.
inline Rgb Mix(Rgb a, Rgb b, double t) {
    if (t < 0) t = 0;
    if (t > 1) t = 1;
    auto m = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(x + (static_cast<int>(y) - x) * t + 0.5);
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

class Image {
public:
    Image(int w, int h, Rgb fill = kBlack) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

    int w() const { return w_; }
    int h() const { return h_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    Rgb Get(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    void Set(int x, int y, Rgb c) {
        if (Inside(x, y)) px_[static_cast<size_t>(y) * w_ + x] = c;
    }
    void Fill(int x, int y, int w, int h, Rgb c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Set(i, j, c);
    }
    // A one-pixel outline of the rectangle.
    void Frame(int x, int y, int w, int h, Rgb c) {
        Fill(x, y, w, 1, c);
        Fill(x, y + h - 1, w, 1, c);
        Fill(x, y, 1, h, c);
        Fill(x + w - 1, y, 1, h, c);
    }

    // A 24-bit BMP, written by SDL from a surface in the display's own layout.
    void WriteBmp(const std::string& path) const {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w_, h_, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
        if (!s) throw std::runtime_error("cannot make a surface for " + path);
        for (int y = 0; y < h_; ++y) {
            Uint8* row = static_cast<Uint8*>(s->pixels) + y * s->pitch;
            for (int x = 0; x < w_; ++x) {
                const Rgb c = Get(x, y);
                row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
            }
        }
        const int saved = SDL_SaveBMP(s, path.c_str());
        SDL_FreeSurface(s);
        if (saved != 0) throw std::runtime_error("cannot write " + path);
    }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};
