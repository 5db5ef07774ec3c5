// Image: a plain 24-bit picture in memory and its writer, an uncompressed 24-bit BMP
// (bottom-up rows, blue-green-red, each row padded to four bytes). Nothing else.
#pragma once
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

constexpr Rgb kBlack{0, 0, 0};  // transparent on the sheet, rock on a map

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

    void WriteBmp(const std::string& path) const {
        const int rowBytes = (w_ * 3 + 3) / 4 * 4;
        const uint32_t dataBytes = static_cast<uint32_t>(rowBytes) * h_;
        std::vector<uint8_t> out;
        auto u16 = [&out](uint32_t v) {
            out.push_back(v & 0xff);
            out.push_back((v >> 8) & 0xff);
        };
        auto u32 = [&u16](uint32_t v) {
            u16(v & 0xffff);
            u16(v >> 16);
        };
        out.push_back('B');
        out.push_back('M');
        u32(54 + dataBytes);  // file size
        u32(0);               // reserved
        u32(54);              // pixel data offset: both headers, no palette
        u32(40);              // BITMAPINFOHEADER
        u32(static_cast<uint32_t>(w_));
        u32(static_cast<uint32_t>(h_));  // positive: rows stored bottom-up
        u16(1);                          // planes
        u16(24);                         // bits per pixel
        u32(0);                          // no compression
        u32(dataBytes);
        u32(2835);  // 72 dpi, both ways
        u32(2835);
        u32(0);  // no palette
        u32(0);
        for (int y = h_ - 1; y >= 0; --y) {
            for (int x = 0; x < w_; ++x) {
                const Rgb c = Get(x, y);
                out.push_back(c.b);
                out.push_back(c.g);
                out.push_back(c.r);
            }
            for (int p = w_ * 3; p < rowBytes; ++p) out.push_back(0);
        }
        std::ofstream f(path, std::ios::binary);
        if (!f) throw std::runtime_error("cannot write " + path);
        f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        if (!f) throw std::runtime_error("cannot write " + path);
    }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};
