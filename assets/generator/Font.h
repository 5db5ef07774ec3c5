// Font: the game's two pixel fonts, drawn by hand below as text ('#' is ink), and the
// routine that prints with them. Text is always drawn at whole-number scales, so every
// letter stays crisp: one font pixel becomes a square block of scale x scale pixels.
#pragma once
#include <functional>
#include <string>

#include "Image.h"

struct Font {
    int w, h;                                  // glyph box in font pixels
    const char* const* (*glyph)(char c);       // h strings of w characters, or null
};

extern const Font kFont5x7;  // the main font: labels, prompts, the logo (scaled)
extern const Font kFont3x5;  // the small font: captions under buttons and bars

// The colour of one ink pixel, from its position in the text's pixel box (0..1 down).
using Ink = std::function<Rgb(double down)>;

// Width in pixels of a line of text (one blank font column between letters).
int TextWidth(const Font& f, const std::string& text, int scale = 1);

// Prints text with its top-left corner at (x, y), each ink pixel coloured by `ink`.
void DrawText(Image& img, const Font& f, int x, int y, const std::string& text, int scale,
              const Ink& ink);

// Text with a one-pixel shadow below and to the right, in `shadow`.
void DrawShadowedText(Image& img, const Font& f, int x, int y, const std::string& text,
                      int scale, const Ink& ink, Rgb shadow);

// Whether pixel (px, py) of a glyph is inked.
bool GlyphInk(const Font& f, char c, int px, int py);
