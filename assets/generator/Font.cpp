// Font: the two pixel fonts as hand-drawn text, and printing with them.
#include "Font.h"

#include <cctype>

namespace {

using Glyph = const char* const*;

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The glyph of an upper-case letter or a digit from a font's two tables, else nullptr.
Glyph LetterOrDigit(char u, const Glyph (&letters)[26], const Glyph (&digits)[10]) {
    if (u >= 'A' && u <= 'Z') return letters[u - 'A'];
    if (u >= '0' && u <= '9') return digits[u - '0'];
    return nullptr;
}

// 5 wide, 7 high. Upper case only: the game shows no lower case.
const char* const* Glyph5x7(char c) {
    static const char* const kA[] = {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
    static const char* const kB[] = {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."};
    static const char* const kC[] = {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."};
    static const char* const kD[] = {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
    static const char* const kE[] = {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
    static const char* const kF[] = {"#####", "#....", "#....", "####.", "#....", "#....", "#...."};
    static const char* const kG[] = {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"};
    static const char* const kH[] = {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
    static const char* const kI[] = {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"};
    static const char* const kJ[] = {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."};
    static const char* const kK[] = {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"};
    static const char* const kL[] = {"#....", "#....", "#....", "#....", "#....", "#....", "#####"};
    static const char* const kM[] = {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"};
    static const char* const kN[] = {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
    static const char* const kO[] = {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
    static const char* const kP[] = {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
    static const char* const kQ[] = {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"};
    static const char* const kR[] = {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
    static const char* const kS[] = {".####", "#....", "#....", ".###.", "....#", "....#", "####."};
    static const char* const kT[] = {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
    static const char* const kU[] = {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
    static const char* const kV[] = {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."};
    static const char* const kW[] = {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."};
    static const char* const kX[] = {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"};
    static const char* const kY[] = {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."};
    static const char* const kZ[] = {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"};
    static const char* const k0[] = {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."};
    static const char* const k1[] = {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."};
    static const char* const k2[] = {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"};
    static const char* const k3[] = {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."};
    static const char* const k4[] = {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."};
    static const char* const k5[] = {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."};
    static const char* const k6[] = {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."};
    static const char* const k7[] = {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."};
    static const char* const k8[] = {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."};
    static const char* const k9[] = {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."};
    static const char* const kColon[] = {".....", "..#..", "..#..", ".....", "..#..", "..#..", "....."};
    static const char* const kDash[] = {".....", ".....", ".....", ".###.", ".....", ".....", "....."};
    static const char* const kBang[] = {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."};
    static const char* const kDot[] = {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."};
    static const char* const kSpace[] = {".....", ".....", ".....", ".....", ".....", ".....", "....."};
    static const char* const* const kLetters[] = {kA, kB, kC, kD, kE, kF, kG, kH, kI, kJ, kK, kL, kM,
                                                  kN, kO, kP, kQ, kR, kS, kT, kU, kV, kW, kX, kY, kZ};
    static const char* const* const kDigits[] = {k0, k1, k2, k3, k4, k5, k6, k7, k8, k9};
    const char u = Upper(c);
    if (const char* const* glyph = LetterOrDigit(u, kLetters, kDigits)) return glyph;
    switch (u) {
        case ':': return kColon;
        case '-': return kDash;
        case '!': return kBang;
        case '.': return kDot;
        case ' ': return kSpace;
        default: return nullptr;
    }
}

// 3 wide, 5 high: small captions.
const char* const* Glyph3x5(char c) {
    static const char* const kA[] = {".#.", "#.#", "###", "#.#", "#.#"};
    static const char* const kB[] = {"##.", "#.#", "##.", "#.#", "##."};
    static const char* const kC[] = {".##", "#..", "#..", "#..", ".##"};
    static const char* const kD[] = {"##.", "#.#", "#.#", "#.#", "##."};
    static const char* const kE[] = {"###", "#..", "##.", "#..", "###"};
    static const char* const kF[] = {"###", "#..", "##.", "#..", "#.."};
    static const char* const kG[] = {".##", "#..", "#.#", "#.#", ".##"};
    static const char* const kH[] = {"#.#", "#.#", "###", "#.#", "#.#"};
    static const char* const kI[] = {"###", ".#.", ".#.", ".#.", "###"};
    static const char* const kJ[] = {"..#", "..#", "..#", "#.#", ".#."};
    static const char* const kK[] = {"#.#", "#.#", "##.", "#.#", "#.#"};
    static const char* const kL[] = {"#..", "#..", "#..", "#..", "###"};
    static const char* const kM[] = {"#.#", "###", "###", "#.#", "#.#"};
    static const char* const kN[] = {"##.", "#.#", "#.#", "#.#", "#.#"};
    static const char* const kO[] = {".#.", "#.#", "#.#", "#.#", ".#."};
    static const char* const kP[] = {"##.", "#.#", "##.", "#..", "#.."};
    static const char* const kQ[] = {".#.", "#.#", "#.#", "##.", ".##"};
    static const char* const kR[] = {"##.", "#.#", "##.", "#.#", "#.#"};
    static const char* const kS[] = {".##", "#..", ".#.", "..#", "##."};
    static const char* const kT[] = {"###", ".#.", ".#.", ".#.", ".#."};
    static const char* const kU[] = {"#.#", "#.#", "#.#", "#.#", "###"};
    static const char* const kV[] = {"#.#", "#.#", "#.#", "#.#", ".#."};
    static const char* const kW[] = {"#.#", "#.#", "###", "###", "#.#"};
    static const char* const kX[] = {"#.#", "#.#", ".#.", "#.#", "#.#"};
    static const char* const kY[] = {"#.#", "#.#", ".#.", ".#.", ".#."};
    static const char* const kZ[] = {"###", "..#", ".#.", "#..", "###"};
    static const char* const k0[] = {"###", "#.#", "#.#", "#.#", "###"};
    static const char* const k1[] = {".#.", "##.", ".#.", ".#.", "###"};
    static const char* const k2[] = {"##.", "..#", ".#.", "#..", "###"};
    static const char* const k3[] = {"##.", "..#", ".#.", "..#", "##."};
    static const char* const k4[] = {"#.#", "#.#", "###", "..#", "..#"};
    static const char* const k5[] = {"###", "#..", "##.", "..#", "##."};
    static const char* const k6[] = {".##", "#..", "###", "#.#", "###"};
    static const char* const k7[] = {"###", "..#", ".#.", ".#.", ".#."};
    static const char* const k8[] = {"###", "#.#", "###", "#.#", "###"};
    static const char* const k9[] = {"###", "#.#", "###", "..#", "##."};
    static const char* const kDash[] = {"...", "...", "###", "...", "..."};
    static const char* const kSpace[] = {"...", "...", "...", "...", "..."};
    static const char* const* const kLetters[] = {kA, kB, kC, kD, kE, kF, kG, kH, kI, kJ, kK, kL, kM,
                                                  kN, kO, kP, kQ, kR, kS, kT, kU, kV, kW, kX, kY, kZ};
    static const char* const* const kDigits[] = {k0, k1, k2, k3, k4, k5, k6, k7, k8, k9};
    const char u = Upper(c);
    if (const char* const* glyph = LetterOrDigit(u, kLetters, kDigits)) return glyph;
    if (u == '-') return kDash;
    if (u == ' ') return kSpace;
    return nullptr;
}

}  // namespace

const Font kFont5x7{5, 7, Glyph5x7};
const Font kFont3x5{3, 5, Glyph3x5};

bool GlyphInk(const Font& f, char c, int px, int py) {
    const char* const* g = f.glyph(c);
    if (!g) throw std::runtime_error(std::string("no glyph for '") + c + "'");
    return g[py][px] == '#';
}

int TextWidth(const Font& f, const std::string& text, int scale) {
    if (text.empty()) return 0;
    return (static_cast<int>(text.size()) * (f.w + 1) - 1) * scale;
}

void DrawText(Image& img, const Font& f, int x, int y, const std::string& text, int scale,
              const Ink& ink) {
    const int height = f.h * scale;
    for (size_t i = 0; i < text.size(); ++i) {
        const int gx = x + static_cast<int>(i) * (f.w + 1) * scale;
        for (int py = 0; py < f.h; ++py)
            for (int px = 0; px < f.w; ++px) {
                if (!GlyphInk(f, text[i], px, py)) continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx) {
                        const int row = py * scale + sy;
                        const double down = height > 1 ? row / double(height - 1) : 0.0;
                        img.Set(gx + px * scale + sx, y + row, ink(down));
                    }
            }
    }
}

void DrawShadowedText(Image& img, const Font& f, int x, int y, const std::string& text,
                      int scale, const Ink& ink, Rgb shadow) {
    DrawText(img, f, x + 1, y + 1, text, scale, [shadow](double) { return shadow; });
    DrawText(img, f, x, y, text, scale, ink);
}
