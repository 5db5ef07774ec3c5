// Sheet: draws image/material.bmp, every sprite of the game in its fixed rectangle.
// Black is transparent on the sheet, so nothing visible is drawn in pure black, and the
// wall grey (155,155,155) never appears: ship, trail and items are on the frame when the
// walls are read back, and that grey there would block the ship. The ship and item
// colours are all bluer than they are red (blue at least 24 above red), so no blend of
// them with the cave's greys, the clear colour or the white stars lands on the wall grey.
#include <algorithm>
#include <cmath>
#include <map>

#include "Art.h"
#include "Font.h"

using namespace sheet;

namespace {

// Palette of the HUD and menus: steel blue on deep navy.
constexpr Rgb kSteel{110, 170, 240};
constexpr Rgb kSteelDim{60, 96, 160};
constexpr Rgb kLabel{160, 200, 245};
constexpr Rgb kNavy{14, 22, 52};
constexpr Rgb kNavyInk{12, 18, 44};
constexpr Rgb kShadow{24, 16, 44};
constexpr Rgb kWhiteInk{236, 242, 255};
constexpr Rgb kThemeA{80, 230, 160};   // Mode A: green, like its energy crystal
constexpr Rgb kThemeB{176, 120, 255};  // Mode B: violet, like its energy orb

Ink Solid(Rgb c) {
    return [c](double) { return c; };
}
Ink Gradient(Rgb top, Rgb bottom) {
    return [top, bottom](double down) { return Mix(top, bottom, down); };
}

// Copies a small hand-drawn picture: each character is a palette key, '.' is empty.
void DrawArt(Image& img, int x, int y, const std::vector<std::string>& rows,
             const std::map<char, Rgb>& palette) {
    for (size_t j = 0; j < rows.size(); ++j)
        for (size_t i = 0; i < rows[j].size(); ++i) {
            const char k = rows[j][i];
            if (k == '.') continue;
            img.Set(x + static_cast<int>(i), y + static_cast<int>(j), palette.at(k));
        }
}

// ---------------------------------------------------------------- ship, 12x12 each
// The hull points right, the way the ship flies; boosting adds exhaust at the back and
// recolours the hull in the mode's colour.
void DrawShips(Image& img) {
    const std::vector<std::string> normal = {
        "............",
        "hh..........",
        ".hbb........",
        ".ebbbhh.....",
        ".ebbbbbbhh..",
        "eebbbcccbbbh",
        "eebbbccbbbbh",
        ".ebbbbbbdd..",
        ".ebbbdd.....",
        ".dbb........",
        "dd..........",
        "............",
    };
    img.Fill(kShip.x, kShip.y, kShip.w, kShip.h, kBlack);
    DrawArt(img, kShip.x, kShip.y, normal,
            {{'h', {190, 245, 255}}, {'b', {60, 190, 255}}, {'c', {30, 60, 150}},
             {'d', {40, 110, 210}}, {'e', {110, 120, 255}}});

    const std::vector<std::string> boostA = {
        "............",
        "...ww.......",
        "....wbb.....",
        "f...ebbbww..",
        "Ff..ebbbbbbw",
        "FFffeebbcccb",
        "FFffeebbccbb",
        "Ff..ebbbbbbd",
        "f...ebbbdd..",
        "....dbb.....",
        "...dd.......",
        "............",
    };
    DrawArt(img, kShipBoostA.x, kShipBoostA.y, boostA,
            {{'w', {200, 255, 232}}, {'b', {70, 232, 160}}, {'c', {24, 90, 80}},
             {'d', {30, 150, 112}}, {'e', {40, 190, 130}}, {'f', {60, 220, 140}},
             {'F', {196, 255, 228}}});

    const std::vector<std::string> boostB = {
        "............",
        "...ww.......",
        "f...wbb.....",
        "Ff..ebbbww..",
        "FFf.ebbbbbbw",
        "....eebbcccb",
        "....eebbccbb",
        "FFf.ebbbbbbd",
        "Ff..ebbbdd..",
        "f...dbb.....",
        "...dd.......",
        "............",
    };
    DrawArt(img, kShipBoostB.x, kShipBoostB.y, boostB,
            {{'w', {226, 200, 255}}, {'b', {172, 96, 255}}, {'c', {60, 30, 120}},
             {'d', {110, 56, 210}}, {'e', {136, 76, 236}}, {'f', {150, 64, 255}},
             {'F', {230, 176, 255}}});
}

// ---------------------------------------------------------------- bars
// Drawn from their left edge at any width, so each column is a whole bar section: a lit
// top row, a body, a shaded bottom, brighter towards the right, and a notch every ten
// points of energy (one item's worth).
void DrawBar(Image& img, Rect r, Rgb dim, Rgb bright, Rgb top, int notchEvery) {
    for (int i = 0; i < r.w; ++i) {
        const Rgb body = Mix(dim, bright, i / double(r.w - 1));
        const bool notch = notchEvery > 0 && i % notchEvery == notchEvery - 1;
        for (int j = 0; j < r.h; ++j) {
            Rgb c = body;
            if (j == 0) c = Mix(body, top, 0.6);
            else if (j == 1) c = Mix(body, top, 0.25);
            else if (j >= r.h - 2) c = Mix(body, kNavy, j == r.h - 1 ? 0.55 : 0.3);
            if (notch) c = Mix(c, kNavy, 0.45);
            img.Set(r.x + i, r.y + j, c);
        }
    }
}

// ---------------------------------------------------------------- items, 32x32
// An energy item: a glowing orb with a crystal at its heart.
void DrawItem(Image& img, Rect r, Rgb glow, Rgb body, Rgb light, Rgb core, bool star) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int j = 0; j < r.h; ++j)
        for (int i = 0; i < r.w; ++i) {
            const double dx = i - 15.5, dy = j - 15.5;
            const double d = std::sqrt(dx * dx + dy * dy);
            Rgb c = kBlack;
            bool ink = false;
            if (d < 11.5) {
                // The orb, lit from the top left.
                const double lit = std::clamp((-(dx + dy) / 16.0 + 1.0) / 2.0, 0.0, 1.0);
                c = Mix(body, light, lit * 0.8);
                if (d > 10.0) c = Mix(c, glow, 0.6);
                ink = true;
                // The crystal: a diamond, or a four-pointed star.
                const double ax = std::fabs(dx), ay = std::fabs(dy);
                const bool inCrystal = star ? (ax * ay < 6.0 && ax + ay < 9.5) || ax + ay < 4.5
                                            : ax * 1.3 + ay < 8.0;
                if (inCrystal) c = (dx < 0) == (dy < 0) ? core : Mix(core, body, 0.45);
            } else if (d < 15.5) {
                // The halo, dithered thinner towards the outside.
                const double t = (d - 11.5) / 4.0;
                if (kBayer[j % 4][i % 4] / 16.0 > t * 1.05) {
                    c = Mix(glow, body, 0.2 * (1 - t));
                    ink = true;
                }
            }
            if (ink) img.Set(r.x + i, r.y + j, c);
        }
    // A glint on the orb.
    img.Set(r.x + 10, r.y + 9, core);
    img.Set(r.x + 9, r.y + 10, core);
    img.Set(r.x + 10, r.y + 10, core);
}

// ---------------------------------------------------------------- digits
// Score digits: 7x9 with two-pixel strokes, warm white fading to amber, and a dark
// shadow one pixel down and right, inside their 12x10 cells.
const char* const kDigitArt[10][9] = {
    {".#####.", "##...##", "##..###", "##.#.##", "###..##", "##...##", "##...##", "##...##", ".#####."},
    {"...##..", "..###..", ".####..", "...##..", "...##..", "...##..", "...##..", "...##..", ".######"},
    {".#####.", "##...##", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "#######"},
    {".#####.", "##...##", ".....##", "..####.", ".....##", ".....##", ".....##", "##...##", ".#####."},
    {"....##.", "...###.", "..####.", ".##.##.", "##..##.", "#######", "....##.", "....##.", "....##."},
    {"#######", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", "##...##", ".#####."},
    {"..####.", ".##....", "##.....", "######.", "##...##", "##...##", "##...##", "##...##", ".#####."},
    {"#######", ".....##", "....##.", "....##.", "...##..", "...##..", "..##...", "..##...", "..##..."},
    {".#####.", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##", "##...##", ".#####."},
    {".#####.", "##...##", "##...##", "##...##", ".######", ".....##", ".....##", "....##.", ".####.."},
};
constexpr Rgb kDigitTop{255, 250, 222};
constexpr Rgb kDigitBottom{255, 188, 84};
constexpr Rgb kDigitShadow{44, 24, 56};

void DrawDigits(Image& img) {
    for (int d = 0; d < 10; ++d) {
        const int x0 = d * kDigit.w + 2, y0 = kDigit.y;
        for (int pass = 0; pass < 2; ++pass)
            for (int j = 0; j < 9; ++j)
                for (int i = 0; i < 7; ++i) {
                    if (kDigitArt[d][j][i] != '#') continue;
                    if (pass == 0) img.Set(x0 + i + 1, y0 + j + 1, kDigitShadow);
                    else img.Set(x0 + i, y0 + j, Mix(kDigitTop, kDigitBottom, j / 8.0));
                }
    }
    // Right of the ten digits: a number too wide for its cells shows the cell at
    // 12 * (its leading part), so those cells hold 10, 11, 12 ... in the small digits,
    // and 123456 still reads as 12 3456.
    for (int k = 10; k * kDigit.w < kWidth; ++k) {
        const std::string two = std::to_string(k);
        DrawShadowedText(img, kFont5x7, k * kDigit.w, kDigit.y + 2, two, 1,
                         Gradient(kDigitTop, kDigitBottom), kDigitShadow);
    }
}

// ---------------------------------------------------------------- HUD
void DrawHud(Image& img) {
    const int fx = kHudFrame.x, fy = kHudFrame.y;
    // The frame, in its own coordinates (its top-left lands on the screen at (10, 0)).
    auto P = [&](int x, int y, Rgb c) { img.Set(fx + x, fy + y, c); };
    auto R = [&](int x, int y, int w, int h, Rgb c) { img.Fill(fx + x, fy + y, w, h, c); };
    // Tab with the caption.
    R(0, 0, 37, 11, kSteel);
    P(36, 0, kBlack);
    DrawText(img, kFont5x7, fx + 4, fy + 2, "SCORE", 1, Solid(kNavyInk));
    // Outer border and its inner shade, with clipped corners.
    img.Frame(fx, fy + 11, kHudFrame.w, kHudFrame.h - 11, kSteel);
    img.Frame(fx + 1, fy + 12, kHudFrame.w - 2, kHudFrame.h - 13, kSteelDim);
    P(kHudFrame.w - 1, 11, kBlack);
    P(0, kHudFrame.h - 1, kBlack);
    P(kHudFrame.w - 1, kHudFrame.h - 1, kBlack);
    // Troughs around the bars: one pixel outside the bar positions.
    const int dx = spot::kHudFrame.x, dy = spot::kHudFrame.y;
    img.Frame(fx + spot::kProgress.x - dx - 1, fy + spot::kProgress.y - dy - 1,
              kProgress.w + 2, kProgress.h + 2, kSteelDim);
    img.Frame(fx + spot::kGauge.x - dx - 1, fy + spot::kGauge.y - dy - 1,
              kGaugeA.w + 2, kGaugeA.h + 2, kSteelDim);
    // Captions: the speed beside its two digits, the energy under its gauge.
    DrawText(img, kFont5x7, fx + 55, fy + 31, "SPD", 1, Solid(kLabel));
    DrawText(img, kFont3x5, fx + 6, fy + 57, "ENERGY", 1, Solid(kLabel));
    // Quarter marks under the gauge's trough.
    for (int q = 1; q <= 8; ++q) P(spot::kGauge.x - dx + q * 10 - 1, 57, kSteelDim);

    // The notice tail sits inside the frame right after the score: "PTS".
    img.Fill(kNoticeTail.x, kNoticeTail.y, kNoticeTail.w, kNoticeTail.h, kBlack);
    DrawShadowedText(img, kFont5x7, kNoticeTail.x + 3, kNoticeTail.y + 2, "PTS", 1,
                     Solid(kLabel), kShadow);

    // The panel, drawn translucent under the frame.
    img.Fill(kHudPanel.x, kHudPanel.y, kHudPanel.w, kHudPanel.h, kNavy);
    img.Fill(kHudPanel.x, kHudPanel.y, kHudPanel.w, 1, {30, 46, 92});

    DrawBar(img, kProgress, {230, 140, 40}, {255, 214, 90}, {255, 246, 200}, 9);
    DrawBar(img, kGaugeA, {30, 130, 100}, {110, 255, 180}, {220, 255, 236}, 10);
    DrawBar(img, kGaugeB, {96, 50, 180}, {200, 140, 255}, {240, 220, 255}, 10);
}

// ---------------------------------------------------------------- record labels
// The five record digits are drawn over each label, so the label leaves their place
// plain: a navy plate under "00000 RECORD A" on the left and "RECORD B 00000" on the
// right, so both read over the rock of any cave, with a small arrow at the number.
// The top rows stay empty where the mode buttons above reach down over the labels.
void DrawRecordPlate(Image& img, int x, int y, int w, Rgb accent) {
    img.Fill(x, y + 4, w, 11, kNavy);
    img.Fill(x + 1, y + 3, w - 2, 1, accent);
    img.Set(x, y + 14, kBlack);
    img.Set(x + w - 1, y + 14, kBlack);
}

void DrawRecordLabels(Image& img) {
    const Rect a = kRecordLabelA, b = kRecordLabelB;
    const int aDigits = spot::kRecordA.x - spot::kRecordLabelA.x;  // 12
    const int bDigits = spot::kRecordB.x - spot::kRecordLabelB.x;  // 59
    const int textY = 6;
    const std::string word = "RECORD ";
    const int wordW = TextWidth(kFont5x7, word + "A");
    // Mode A: arrow, digits, caption.
    const int ax = a.x + aDigits + 5 * kDigit.w + 5;
    DrawRecordPlate(img, a.x, a.y, ax + wordW + 5 - a.x, kThemeA);
    for (int k = 0; k < 3; ++k) img.Fill(a.x + 4 + k, a.y + textY + 1 + k, 1, 5 - 2 * k, kThemeA);
    DrawShadowedText(img, kFont5x7, ax, a.y + textY, word, 1, Solid(kLabel), kShadow);
    DrawShadowedText(img, kFont5x7, ax + TextWidth(kFont5x7, word) + 1, a.y + textY, "A", 1,
                     Solid(kThemeA), kShadow);
    // Mode B: caption, digits, arrow.
    const int bx = b.x + bDigits - 5 - wordW;
    const int plateEnd = b.x + bDigits + 5 * kDigit.w + 12;
    DrawRecordPlate(img, bx - 5, b.y, plateEnd - (bx - 5), kThemeB);
    DrawShadowedText(img, kFont5x7, bx, b.y + textY, word, 1, Solid(kLabel), kShadow);
    DrawShadowedText(img, kFont5x7, bx + TextWidth(kFont5x7, word) + 1, b.y + textY, "B", 1,
                     Solid(kThemeB), kShadow);
    const int arrowX = b.x + bDigits + 5 * kDigit.w + 7;
    for (int k = 0; k < 3; ++k) img.Fill(arrowX - k, b.y + textY + 1 + k, 1, 5 - 2 * k, kThemeB);

    // The blinking notice over its number.
    DrawShadowedText(img, kFont5x7, kRecordNotice.x + 5, kRecordNotice.y + 1, "NEW RECORD!", 1,
                     Gradient({255, 236, 130}, {255, 140, 70}), {70, 20, 44});
}

// ---------------------------------------------------------------- logo
// COMET DRIFTER in two lines of the main font at seven times its size: chiselled
// letters (lit top edges, shaded bottoms), a dark outline and a drop shadow so they
// read over any part of the cave, and a comet streaking out of the first line.
void DrawLogoLine(Image& img, int x, int y, const std::string& text, int scale, Rgb top,
                  Rgb bottom) {
    const int w = TextWidth(kFont5x7, text, scale), h = kFont5x7.h * scale;
    std::vector<char> ink(static_cast<size_t>(w) * h, 0);
    auto at = [&](int i, int j) -> bool {
        return i >= 0 && j >= 0 && i < w && j < h && ink[static_cast<size_t>(j) * w + i];
    };
    Image mask(w, h);
    DrawText(mask, kFont5x7, 0, 0, text, scale, Solid({255, 255, 255}));
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) ink[static_cast<size_t>(j) * w + i] = mask.Get(i, j).r != 0;
    const Rgb outline{10, 14, 40}, shadow{16, 12, 46};
    for (int j = -2; j < h + 6; ++j)
        for (int i = -2; i < w + 6; ++i) {
            if (at(i, j)) continue;
            bool near = false;
            for (int b = -2; b <= 2 && !near; ++b)
                for (int a = -2; a <= 2 && !near; ++a) near = at(i + a, j + b);
            if (near) img.Set(x + i, y + j, outline);
            else if (at(i - 4, j - 4) || at(i - 3, j - 3)) img.Set(x + i, y + j, shadow);
        }
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (!at(i, j)) continue;
            Rgb c = Mix(top, bottom, j / double(h - 1));
            if (!at(i, j - 1) || !at(i, j - 2)) c = Mix(c, {255, 255, 255}, 0.55);
            else if (!at(i - 1, j)) c = Mix(c, {255, 255, 255}, 0.2);
            else if (!at(i, j + 1) || !at(i, j + 2)) c = Mix(c, outline, 0.45);
            else if (!at(i + 1, j)) c = Mix(c, outline, 0.25);
            img.Set(x + i, y + j, c);
        }
}

void DrawComet(Image& img, int hx, int hy) {
    // The tail streams to the upper right, dithered thinner with distance.
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double dirX = 0.93, dirY = -0.37;  // unit vector along the tail
    for (int j = -40; j <= 20; ++j)
        for (int i = -14; i <= 110; ++i) {
            const double along = i * dirX + j * dirY;
            const double across = std::fabs(-i * dirY + j * dirX);
            if (along < 0 || along > 105) continue;
            const double width = 4.0 + along * 0.13;
            if (across > width) continue;
            const double fade = along / 105.0 + across / width * 0.5;
            if (kBayer[(hy + j + 64) % 4][(hx + i + 64) % 4] / 16.0 < fade) continue;
            const Rgb c = Mix({200, 240, 255}, {60, 110, 230}, std::min(1.0, along / 70.0));
            img.Set(hx + i, hy + j, c);
        }
    for (int j = -8; j <= 8; ++j)
        for (int i = -8; i <= 8; ++i) {
            const double d = std::sqrt(double(i * i + j * j));
            if (d > 7.5) continue;
            Rgb c = d < 3.5 ? Rgb{255, 255, 255} : Mix({210, 245, 255}, {90, 170, 255}, (d - 3.5) / 4.0);
            img.Set(hx + i, hy + j, c);
        }
}

void DrawSparkle(Image& img, int x, int y, int arm, Rgb c) {
    for (int k = -arm; k <= arm; ++k) {
        img.Set(x + k, y, c);
        img.Set(x, y + k, c);
    }
    img.Set(x, y, {255, 255, 255});
}

void DrawLogo(Image& img) {
    const Rect r = kLogo;
    const int scale = 7;
    const int line2W = TextWidth(kFont5x7, "DRIFTER", scale);
    const int x = r.x + (r.w - line2W) / 2;
    DrawComet(img, r.x + 300, r.y + 30);
    DrawLogoLine(img, x, r.y + 4, "COMET", scale, {226, 250, 255}, {40, 128, 232});
    DrawLogoLine(img, x, r.y + 4 + 7 * scale + 8, "DRIFTER", scale, {255, 240, 160}, {236, 110, 40});
    DrawSparkle(img, r.x + 30, r.y + 20, 3, {150, 200, 255});
    DrawSparkle(img, r.x + 44, r.y + 92, 2, {150, 200, 255});
    DrawSparkle(img, r.x + 392, r.y + 84, 3, {255, 220, 150});
    DrawSparkle(img, r.x + 378, r.y + 64, 1, {255, 220, 150});
}

// ---------------------------------------------------------------- buttons and prompts
// A rounded panel with a key cap on the left (the key to press) and two lines of text.
void DrawButton(Image& img, Rect r, char key, const std::string& text, const std::string& caption,
                Rgb accent) {
    img.Fill(r.x + 1, r.y + 1, r.w - 2, r.h - 2, {16, 26, 62});
    img.Frame(r.x, r.y, r.w, r.h, kSteel);
    for (int cx : {r.x, r.x + r.w - 1})
        for (int cy : {r.y, r.y + r.h - 1}) img.Set(cx, cy, kBlack);
    // The key cap: light face, darker lower edge, the letter at twice the font size.
    const Rect cap{r.x + 3, r.y + 2, 18, 19};
    img.Fill(cap.x, cap.y, cap.w, cap.h, {214, 226, 250});
    img.Fill(cap.x, cap.y + cap.h - 3, cap.w, 3, {128, 150, 198});
    img.Set(cap.x, cap.y, {16, 26, 62});
    img.Set(cap.x + cap.w - 1, cap.y, {16, 26, 62});
    img.Set(cap.x, cap.y + cap.h - 1, {16, 26, 62});
    img.Set(cap.x + cap.w - 1, cap.y + cap.h - 1, {16, 26, 62});
    DrawText(img, kFont5x7, cap.x + 4, cap.y + 1, std::string(1, key), 2, Solid({16, 26, 62}));
    DrawShadowedText(img, kFont5x7, r.x + 26, r.y + 4, text, 1, Solid(kWhiteInk), {6, 10, 30});
    DrawText(img, kFont3x5, r.x + 26, r.y + 14, caption, 1, Solid(accent));
}

// ---------------------------------------------------------------- game over
void DrawGameOver(Image& img) {
    const Rect r = kGameOver;
    const Rgb edge{240, 104, 92}, edgeDim{122, 40, 54}, fill{28, 12, 30};
    img.Fill(r.x + 2, r.y + 2, r.w - 4, r.h - 4, fill);
    img.Frame(r.x + 1, r.y + 1, r.w - 2, r.h - 2, edge);
    img.Frame(r.x + 4, r.y + 4, r.w - 8, r.h - 8, edgeDim);
    for (int cx : {r.x + 1, r.x + r.w - 2})
        for (int cy : {r.y + 1, r.y + r.h - 2}) img.Set(cx, cy, kBlack);
    // Corner studs.
    for (int cx : {r.x + 8, r.x + r.w - 10})
        for (int cy : {r.y + 8, r.y + r.h - 10}) img.Fill(cx, cy, 2, 2, edge);

    const int scale = 3;
    const int w = TextWidth(kFont5x7, "GAME OVER", scale);
    const int tx = r.x + (r.w - w) / 2, ty = r.y + 18;
    // Outline and shadow, then the letters.
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox)
            DrawText(img, kFont5x7, tx + ox, ty + oy, "GAME OVER", scale, Solid({60, 8, 24}));
    DrawText(img, kFont5x7, tx + 2, ty + 2, "GAME OVER", scale, Solid({60, 8, 24}));
    DrawText(img, kFont5x7, tx, ty, "GAME OVER", scale, Gradient({255, 226, 130}, {236, 76, 60}));

    // A divider with a diamond in the middle.
    const int midX = r.x + r.w / 2, divY = r.y + 52;
    img.Fill(r.x + 28, divY, r.w - 56, 1, edgeDim);
    for (int k = 0; k <= 3; ++k) {
        img.Fill(midX - k, divY - 3 + k, 2 * k + 1, 1, edge);
        img.Fill(midX - k, divY + 3 - k, 2 * k + 1, 1, edge);
    }

    const std::string line = "THE CAVE GOT YOU";
    DrawShadowedText(img, kFont5x7, r.x + (r.w - TextWidth(kFont5x7, line)) / 2, r.y + 64, line, 1,
                     Solid({236, 206, 214}), {6, 0, 10});
    const std::string hint = "CHOOSE BELOW";
    DrawText(img, kFont3x5, r.x + (r.w - TextWidth(kFont3x5, hint)) / 2, r.y + 84, hint, 1,
             Solid({200, 130, 140}));
    // Chevrons pointing down at the prompts under the panel.
    for (int cx : {r.x + 66, r.x + r.w / 2, r.x + 173})
        for (int k = 0; k < 4; ++k) {
            img.Set(cx - 3 + k, r.y + 95 + k, edge);
            img.Set(cx + 3 - k, r.y + 95 + k, edge);
        }
}

}  // namespace

Image DrawSheet() {
    Image img(kWidth, kHeight, kBlack);
    DrawShips(img);
    DrawItem(img, kItemA, {40, 170, 130}, {50, 200, 150}, {170, 255, 220}, {206, 255, 236}, false);
    DrawItem(img, kItemB, {120, 60, 220}, {140, 80, 240}, {206, 166, 255}, {218, 196, 255}, true);
    DrawDigits(img);
    DrawHud(img);
    DrawRecordLabels(img);
    DrawLogo(img);
    DrawButton(img, kModeA, 'A', "MODE A", "FREE FLIGHT", kThemeA);
    DrawButton(img, kModeB, 'B', "MODE B", "SHIFT THE CAVE", kThemeB);
    DrawButton(img, kRetry, 'R', "RETRY", "PLAY AGAIN", kLabel);
    DrawButton(img, kExit, 'E', "EXIT", "LEAVE GAME", kLabel);
    DrawButton(img, kTitle, 'T', "TITLE", "CHOOSE MODE", kLabel);
    DrawGameOver(img);
    return img;
}
