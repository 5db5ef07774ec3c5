// Caves: turns a cave's text file into its 480x320 map picture.
//
// A cave file is a list of lines, '#' starts a comment:
//   name NAME...                    what the cave is called
//   ceiling X Y  X Y ...            lowest rock row of the roof at each X, smoothly joined
//   floor X Y  X Y ...              highest rock row of the ground at each X
//   rough N                         how rough the rock faces are, in pixels (default 2)
//   rock ellipse CX CY RX RY        a boulder, island or bulge of rock
//   rock spike X BASE TIP HALF      a stalactite (TIP below BASE) or stalagmite (TIP above)
//   rock poly X Y X Y ...           any rock polygon
//   open ellipse|poly ...           carves open space out of what is drawn so far
// Shapes are drawn in file order after the ceiling and floor. The ceiling and floor
// must start and end on the shared edge rows, and the first and last few columns are
// always the shared edge, so any cave joins any other.
//
// The picture uses three colours only: the clear colour for open space, and for rock the
// wall grey and black. Every rock pixel is a wall for the game; the grey face around the
// open space and the black grain inside (denser deeper in) only make it read as stone.
// The grain is periodic across the 480 columns, so it runs on seamlessly at every join.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Art.h"

using namespace cave;

namespace {

constexpr int kEdgeBand = 8;    // columns at each side forced to the shared edge
constexpr int kFadeBand = 40;   // roughness fades out over this many columns at the edges
constexpr double kPi = 3.14159265358979323846;

struct Point {
    double x, y;
};

struct Shape {
    bool rock;        // rock, or carved open
    std::string kind; // ellipse, spike, poly
    std::vector<double> v;
};

struct CaveSource {
    std::string name;
    std::vector<Point> ceiling, floor;
    double rough = 2;
    std::vector<Shape> shapes;
};

[[noreturn]] void Fail(const std::string& path, int line, const std::string& what) {
    throw std::runtime_error(path + ":" + std::to_string(line) + ": " + what);
}

std::vector<double> Numbers(std::istringstream& in, const std::string& path, int line) {
    std::vector<double> v;
    std::string tok;
    while (in >> tok) {
        try {
            v.push_back(std::stod(tok));
        } catch (const std::exception&) {
            Fail(path, line, "not a number: " + tok);
        }
    }
    return v;
}

std::vector<Point> Points(const std::vector<double>& v, const std::string& path, int line) {
    if (v.size() < 4 || v.size() % 2) Fail(path, line, "expected X Y pairs");
    std::vector<Point> p;
    for (size_t i = 0; i < v.size(); i += 2) {
        if (!p.empty() && v[i] <= p.back().x) Fail(path, line, "X must grow");
        p.push_back({v[i], v[i + 1]});
    }
    return p;
}

CaveSource Parse(const std::string& path) {
    std::ifstream f(path);
    if (!f) throw std::runtime_error("cannot read " + path);
    CaveSource src;
    std::string text;
    int line = 0;
    while (std::getline(f, text)) {
        ++line;
        const auto hash = text.find('#');
        if (hash != std::string::npos) text.resize(hash);
        std::istringstream in(text);
        std::string word;
        if (!(in >> word)) continue;
        if (word == "name") {
            std::getline(in >> std::ws, src.name);
        } else if (word == "ceiling" || word == "floor") {
            auto pts = Points(Numbers(in, path, line), path, line);
            const double edge = word == "ceiling" ? kEdgeCeiling : kEdgeFloor;
            if (pts.front().x != 0 || pts.back().x != kWidth - 1 || pts.front().y != edge ||
                pts.back().y != edge)
                Fail(path, line, word + " must run from 0 to 479 and start and end at row " +
                                     std::to_string(int(edge)));
            (word == "ceiling" ? src.ceiling : src.floor) = pts;
        } else if (word == "rough") {
            auto v = Numbers(in, path, line);
            if (v.size() != 1) Fail(path, line, "rough N");
            src.rough = v[0];
        } else if (word == "rock" || word == "open") {
            Shape s;
            s.rock = word == "rock";
            if (!(in >> s.kind)) Fail(path, line, "shape kind missing");
            s.v = Numbers(in, path, line);
            const bool ok = (s.kind == "ellipse" && s.v.size() == 4) ||
                            (s.kind == "spike" && s.v.size() == 4) ||
                            (s.kind == "poly" && s.v.size() >= 6 && s.v.size() % 2 == 0);
            if (!ok) Fail(path, line, "bad " + s.kind);
            // Sizes are divided by when the shape is drawn: none may be zero.
            if (s.kind == "ellipse" && (s.v[2] <= 0 || s.v[3] <= 0))
                Fail(path, line, "an ellipse needs radii above 0");
            if (s.kind == "spike" && s.v[1] == s.v[2]) Fail(path, line, "a spike needs its tip away from its base");
            src.shapes.push_back(s);
        } else {
            Fail(path, line, "unknown word " + word);
        }
    }
    if (src.ceiling.empty() || src.floor.empty()) Fail(path, line, "ceiling and floor are needed");
    return src;
}

// A smooth curve through the control points, without overshoot (cosine easing).
double Profile(const std::vector<Point>& p, double x) {
    for (size_t i = 1; i < p.size(); ++i)
        if (x <= p[i].x) {
            const double t = (x - p[i - 1].x) / (p[i].x - p[i - 1].x);
            const double e = (1 - std::cos(t * kPi)) / 2;
            return p[i - 1].y + (p[i].y - p[i - 1].y) * e;
        }
    return p.back().y;
}

// Deterministic noise: a hash of integers, and smooth value noise from it.
uint32_t Hash(uint32_t a, uint32_t b, uint32_t seed) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}
double Noise1(double x, uint32_t lane, uint32_t seed) {
    const double fl = std::floor(x);
    const double t = x - fl;
    const auto i = static_cast<int32_t>(fl);
    const double a = Hash(static_cast<uint32_t>(i), lane, seed) / 4294967295.0;
    const double b = Hash(static_cast<uint32_t>(i + 1), lane, seed) / 4294967295.0;
    const double e = t * t * (3 - 2 * t);
    return (a + (b - a) * e) * 2 - 1;  // -1..1
}
// Two octaves, for a rock face that is lumpy on two scales.
double Rough(double x, uint32_t lane, uint32_t seed) {
    return 0.7 * Noise1(x / 11.0, lane, seed) + 0.3 * Noise1(x / 4.0, lane + 100, seed);
}

uint32_t Seed(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

bool InPoly(const std::vector<double>& v, double x, double y) {
    bool in = false;
    const size_t n = v.size() / 2;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = v[2 * i], yi = v[2 * i + 1], xj = v[2 * j], yj = v[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

// Whether (x, y) lies in the shape, its outline roughened by `rough` pixels.
bool InShape(const Shape& s, double x, double y, double rough, uint32_t seed, int index) {
    const uint32_t lane = 1000 + 17 * static_cast<uint32_t>(index);
    if (s.kind == "ellipse") {
        const double dx = (x - s.v[0]) / s.v[2], dy = (y - s.v[1]) / s.v[3];
        const double ang = std::atan2(dy, dx);
        const double r = std::sqrt(dx * dx + dy * dy);
        const double around = (ang + kPi) / (2 * kPi) * 2 * kPi * std::max(s.v[2], s.v[3]);
        const double wobble = rough * Rough(around, lane, seed) / std::max(s.v[2], s.v[3]);
        return r < 1 + wobble;
    }
    if (s.kind == "spike") {
        const double cx = s.v[0], base = s.v[1], tip = s.v[2], half = s.v[3];
        const double len = tip - base;  // positive: hangs down
        const double t = (y - base) / len;
        if (t < 0 || t > 1) return false;
        const double w = half * (1 - t) + rough * 0.5 * Rough(y, lane, seed);
        return std::fabs(x - cx) < w;
    }
    // poly: roughen by nudging the sample point.
    const double nx = x + rough * 0.5 * Rough(y, lane, seed);
    const double ny = y + rough * 0.5 * Rough(x, lane + 1, seed);
    return InPoly(s.v, nx, ny);
}

// Fills the runs of open space shorter than kNarrowest that lie between rock along one
// line of n pixels; cell(i) is the i-th pixel of the line.
template <typename Cell>
void CloseNarrowRuns(int n, Cell cell) {
    int i = 0;
    while (i < n) {
        if (cell(i)) { ++i; continue; }
        int end = i;
        while (end < n && !cell(end)) ++end;
        if (i > 0 && end < n && end - i < kNarrowest)
            for (int k = i; k < end; ++k) cell(k) = 1;
        i = end;
    }
}

// Fills any gap of open space narrower than kNarrowest between two rock pixels, along
// rows and columns, so that no passage ends up too tight for the ship to be fair.
void CloseNarrowGaps(std::vector<char>& rock) {
    auto at = [&rock](int x, int y) -> char& { return rock[static_cast<size_t>(y) * kWidth + x]; };
    for (int pass = 0; pass < 3; ++pass) {
        for (int x = 0; x < kWidth; ++x) CloseNarrowRuns(kHeight, [&](int y) -> char& { return at(x, y); });
        for (int y = 0; y < kHeight; ++y) CloseNarrowRuns(kWidth, [&](int x) -> char& { return at(x, y); });
    }
}

// The shared edge: rock above kEdgeCeiling and from kEdgeFloor down.
bool EdgeRock(int y) { return y < kEdgeCeiling || y >= kEdgeFloor; }

}  // namespace

Image DrawCave(const std::string& path) {
    const CaveSource src = Parse(path);
    const uint32_t seed = Seed(src.name);

    // 1. Where the rock is.
    std::vector<char> rock(static_cast<size_t>(kWidth) * kHeight, 0);
    for (int x = 0; x < kWidth; ++x) {
        const int fromEdge = std::min(x, kWidth - 1 - x);
        const double fade = std::clamp((fromEdge - kEdgeBand) / double(kFadeBand), 0.0, 1.0);
        const double top = Profile(src.ceiling, x) + fade * src.rough * Rough(x, 1, seed);
        const double bottom = Profile(src.floor, x) + fade * src.rough * Rough(x, 2, seed);
        for (int y = 0; y < kHeight; ++y) {
            bool r = y < top || y >= bottom;
            for (size_t i = 0; i < src.shapes.size(); ++i) {
                const Shape& s = src.shapes[i];
                if (s.rock != r && InShape(s, x + 0.5, y + 0.5, src.rough * fade, seed, int(i)))
                    r = s.rock;
            }
            if (fromEdge < kEdgeBand) r = EdgeRock(y);
            rock[static_cast<size_t>(y) * kWidth + x] = r;
        }
    }
    CloseNarrowGaps(rock);

    // 2. How deep each rock pixel lies (chamfer distance to open space, in pixels), on a
    // canvas widened by the shared edge on both sides so the depth matches at joins.
    constexpr int kPad = 48;
    const int cw = kWidth + 2 * kPad;
    std::vector<int> depth(static_cast<size_t>(cw) * kHeight);
    const int kFar = 1 << 20;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < cw; ++x) {
            const int mx = x - kPad;
            const bool r = mx < 0 || mx >= kWidth ? EdgeRock(y) : rock[static_cast<size_t>(y) * kWidth + mx];
            depth[static_cast<size_t>(y) * cw + x] = r ? kFar : 0;
        }
    auto D = [&](int x, int y) -> int& { return depth[static_cast<size_t>(y) * cw + x]; };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < cw; ++x) {
            int& d = D(x, y);
            if (x > 0) d = std::min(d, D(x - 1, y) + 3);
            if (y > 0) {
                d = std::min(d, D(x, y - 1) + 3);
                if (x > 0) d = std::min(d, D(x - 1, y - 1) + 4);
                if (x + 1 < cw) d = std::min(d, D(x + 1, y - 1) + 4);
            }
        }
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = cw - 1; x >= 0; --x) {
            int& d = D(x, y);
            if (x + 1 < cw) d = std::min(d, D(x + 1, y) + 3);
            if (y + 1 < kHeight) {
                d = std::min(d, D(x, y + 1) + 3);
                if (x + 1 < cw) d = std::min(d, D(x + 1, y + 1) + 4);
                if (x > 0) d = std::min(d, D(x - 1, y + 1) + 4);
            }
        }

    // 3. Colour: open space clear; a grey face; inside, black grain by depth and strata.
    static const int kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    Image img(kWidth, kHeight, kClear);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (!rock[static_cast<size_t>(y) * kWidth + x]) continue;
            const double d = D(x + kPad, y) / 3.0;  // pixels to the nearest open space
            Rgb c = kGrey;
            if (d >= 5.0) {
                // Gently waving strata, every 12 rows, broken into dashes.
                const double wave = 3.0 * std::sin(2 * kPi * 4 * x / kWidth) +
                                    1.5 * std::sin(2 * kPi * 11 * x / kWidth + y * 0.05);
                const int band = static_cast<int>(std::floor((y + wave) / 12.0));
                const double inBand = (y + wave) - band * 12.0;
                const bool dash = Hash(static_cast<uint32_t>((x / 6 + band * 7) % 80),
                                       static_cast<uint32_t>(band), 7) % 4 != 0;
                const bool stratum = inBand < 1.0 && dash;
                // Shading: a little more grain the deeper the rock, never so much that
                // the rock could be mistaken for the dark open space.
                const double shade = std::clamp((d - 5.0) / 30.0, 0.0, 1.0) * 0.24 + 0.03;
                const bool grain = kBayer[y % 8][x % 8] / 64.0 < shade;
                if (stratum || grain) c = kDark;
            } else if (d >= 3.0 && d < 4.0) {
                c = kDark;  // a thin dark line behind the face gives the rock its edge
            }
            img.Set(x, y, c);
        }
    return img;
}
