// Cave fairness: proves, from the generated map images, that the caves can always be
// flown without boost, whatever order the game draws them in.
//
// The ship as the game moves it, frame by frame (scroll s, ship box 12x12 at (x, y)):
//   1. the two maps are drawn at scroll s; if a wall pixel lies on the column just right
//      of the ship (x+12, rows y..y+11) the ship is shoved left by the speed;
//   2. the ship moves up to 5 pixels vertically, then up to 5 horizontally, one pixel at
//      a time, each step only if the line of pixels one outside that side shows no wall;
//      x is capped at 467; x below -11 has crashed;
//   3. the scroll grows by the speed; past 479 it starts again at 0 on the next map.
// A wall is any grey (155,155,155) or black pixel; probes off the screen never block.
// Mode B keeps the ship on rows 154..165 and shifts the maps instead: up held moves the
// maps 5 pixels down when the line above the ship is free and 5 up when it is blocked
// (down the mirror image); the game draws a shift two frames after it is made, tests
// with what is drawn, and crashes when the shift passes 155 either way.
//
// The search takes the part of a pilot who plays it safe: he only makes whole 5-pixel
// moves that nothing blocks, never lets a wall shove him, and never holds two opposite
// keys. Whatever he can fly, the real ship can fly. His positions then lie on a 5-pixel
// lattice (x = -10, -5, ... 465; y = 4, 9, ... 304, through the start at (0, 154)), so one
// 64-bit word holds every height at one x, and a whole frame is one word per column.
// Pixels of the current map left of the screen are counted as walls (harder, so safe).
//
// For every ordered pair of maps (i followed by j), a backward pass over the frames of
// map i finds the states at the moment i comes on screen from which the pilot can reach a
// chosen set of states at the moment j comes on screen. The sets for all twenty maps are
// narrowed together until no pair removes anything: then from any state in map i's set,
// whichever map comes next, the pilot reaches that map's set, and so on forever. The test
// passes when the round's start (x 0, y 154 on the first map; in Mode B also offset 0) is
// in the first map's set, for every speed.
#include <gtest/gtest.h>

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace {

constexpr int kW = 480, kH = 320, kMaps = 20;
constexpr int kShip = 12, kStep = 5;
constexpr int kMinX = -10, kMaxX = 465;  // lattice x; the game caps at 467, crashes below -11
constexpr int kNX = (kMaxX - kMinX) / kStep + 1;  // 96
constexpr int kStartX = 0, kStartY = 154;
constexpr int kMaxShift = 155;

// ------------------------------------------------------------------ the maps
struct WallMap {
    std::vector<int> sat;  // summed-area table of wall pixels, (kW+1) x (kH+1)
    int Count(int c0, int c1, int r0, int r1) const {  // inclusive; clipped to the map
        c0 = std::max(c0, 0), c1 = std::min(c1, kW - 1);
        r0 = std::max(r0, 0), r1 = std::min(r1, kH - 1);
        if (c0 > c1 || r0 > r1) return 0;
        auto S = [this](int c, int r) { return sat[static_cast<size_t>(r) * (kW + 1) + c]; };
        return S(c1 + 1, r1 + 1) - S(c0, r1 + 1) - S(c1 + 1, r0) + S(c0, r0);
    }
};

std::vector<WallMap> LoadMaps(std::string* error) {
    const std::string build = COMET_BUILD_DIR;
    std::ifstream list(build + "/image/mapImg/map.dat");
    if (!list) {
        *error = "no " + build + "/image/mapImg/map.dat: build the `art` target first";
        return {};
    }
    std::vector<WallMap> maps;
    std::string name;
    while (maps.size() < kMaps && list >> name) {
        SDL_Surface* s = SDL_LoadBMP((build + "/" + name).c_str());
        if (!s) {
            *error = "cannot load " + build + "/" + name + ": build the `art` target first";
            return {};
        }
        WallMap m;
        m.sat.assign(static_cast<size_t>(kW + 1) * (kH + 1), 0);
        SDL_LockSurface(s);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch +
                                 x * s->format->BytesPerPixel;
                Uint32 raw = 0;
                for (int b = 0; b < s->format->BytesPerPixel; ++b) raw |= Uint32(p[b]) << (8 * b);
                Uint8 r, g, bl;
                SDL_GetRGB(raw, s->format, &r, &g, &bl);
                const bool wall = (r == 155 && g == 155 && bl == 155) || (r == 0 && g == 0 && bl == 0);
                m.sat[static_cast<size_t>(y + 1) * (kW + 1) + x + 1] =
                    wall + m.sat[static_cast<size_t>(y) * (kW + 1) + x + 1] +
                    m.sat[static_cast<size_t>(y + 1) * (kW + 1) + x] -
                    m.sat[static_cast<size_t>(y) * (kW + 1) + x];
            }
        SDL_UnlockSurface(s);
        SDL_FreeSurface(s);
        maps.push_back(std::move(m));
    }
    if (maps.size() != kMaps) *error = "map.dat names fewer than twenty maps";
    return maps;
}

// Wall pixels in a rectangle of the strip "map i, then map j" (columns 0..959); anything
// left of it is off the screen while i is current, and so free.
struct Strip {
    const WallMap* cur;
    const WallMap* next;
    int Count(int c0, int c1, int r0, int r1) const {
        return cur->Count(c0, std::min(c1, kW - 1), r0, r1) +
               (next ? next->Count(std::max(c0, kW) - kW, c1 - kW, r0, r1) : 0);
    }
};

// What the safe pilot may do with his ship's left edge at strip column p, one bit per
// lattice height (Mode A) or per lattice shift (Mode B).
struct Masks {
    uint64_t alive = 0;  // no wall on the column just right: not shoved
    uint64_t up = 0;     // Mode A: 5 free rows above; Mode B: the line above is free
    uint64_t down = 0;   // Mode A: 5 free rows below; Mode B: the line below is free
    uint64_t left = 0;   // 5 free columns to the left
    uint64_t right = 0;  // 5 free columns to the right
};

// ------------------------------------------------------------------ Mode A
constexpr int kNY = 61;  // y = 4 + 5k, k = 0..60: the box stays on rows 4..315
constexpr int kStartK = (kStartY - 4) / kStep;
constexpr uint64_t kAllY = (uint64_t(1) << kNY) - 1;

Masks MasksA(const Strip& st, int p) {
    Masks m;
    for (int k = 0; k < kNY; ++k) {
        const int y = 4 + kStep * k;
        const uint64_t bit = uint64_t(1) << k;
        if (!st.Count(p + 12, p + 12, y, y + 11)) m.alive |= bit;
        if (!st.Count(p, p + 11, y - 5, y - 1)) m.up |= bit;
        if (!st.Count(p, p + 11, y + 12, y + 16)) m.down |= bit;
        if (!st.Count(p - 5, p - 1, y, y + 11)) m.left |= bit;
        if (!st.Count(p + 12, p + 16, y, y + 11)) m.right |= bit;
    }
    return m;
}

// ------------------------------------------------------------------ Mode B
constexpr int kND = 2 * kMaxShift / kStep + 1;  // shifts -155, -150, ... 155: 63
constexpr int kZeroD = kMaxShift / kStep;
constexpr uint64_t kAllD = (uint64_t(1) << kND) - 1;

Masks MasksB(const Strip& st, int p) {
    Masks m;
    for (int d = 0; d < kND; ++d) {
        const int shift = -kMaxShift + kStep * d;
        const int top = kStartY - shift;  // the ship's top row on the map
        const uint64_t bit = uint64_t(1) << d;
        if (!st.Count(p + 12, p + 12, top, top + 11)) m.alive |= bit;
        if (!st.Count(p, p + 11, top - 1, top - 1)) m.up |= bit;
        if (!st.Count(p, p + 11, top + 12, top + 12)) m.down |= bit;
        if (!st.Count(p - 5, p - 1, top, top + 11)) m.left |= bit;
        if (!st.Count(p + 12, p + 16, top, top + 11)) m.right |= bit;
    }
    return m;
}

// ------------------------------------------------------------------ masks of every pair
// A ship at strip column p probes columns p-5 .. p+16. Away from the join those belong to
// one map only, so most masks are worked out once per map; the few columns that reach
// across the join are worked out per pair.
constexpr int kPMin = kMinX, kPMax = kMaxX + kW - 1;  // 944
constexpr int kJoinLo = kW - 16, kJoinHi = kW + 4;

template <Masks (*F)(const Strip&, int)>
class PairMasks {
public:
    explicit PairMasks(const std::vector<WallMap>& maps) : maps_(maps) {
        alone_.resize(maps.size());
        for (size_t i = 0; i < maps.size(); ++i) {
            const Strip st{&maps[i], nullptr};
            for (int p = kPMin; p < kJoinLo; ++p) alone_[i].push_back(F(st, p));
        }
    }
    // All masks for the strip i, j, indexed by p - kPMin.
    std::vector<Masks> For(int i, int j) const {
        std::vector<Masks> out(kPMax - kPMin + 1);
        for (int p = kPMin; p < kJoinLo; ++p) out[p - kPMin] = alone_[i][p - kPMin];
        const Strip st{&maps_[i], &maps_[j]};
        for (int p = kJoinLo; p <= kJoinHi; ++p) out[p - kPMin] = F(st, p);
        for (int p = kJoinHi + 1; p <= kPMax; ++p) out[p - kPMin] = alone_[j][p - kW - kPMin];
        return out;
    }

private:
    const std::vector<WallMap>& maps_;
    std::vector<std::vector<Masks>> alone_;
};

// ------------------------------------------------------------------ backward passes
using SetA = std::array<uint64_t, kNX>;  // per lattice x, the heights
constexpr int kPlanes = 3;               // Mode B: the shift still to be drawn, -5 / 0 / +5
using SetB = std::array<SetA, kPlanes>;  // per plane, per lattice x, the drawn shifts

int FramesOf(int speed) { return kW / speed; }  // speeds 1..6 all divide 480

// States at the start of map i from which `target` (at the start of map j) is reachable.
SetA PreA(const std::vector<Masks>& masks, int speed, const SetA& target) {
    SetA next = target, cur{};
    for (int t = FramesOf(speed) - 1; t >= 0; --t) {
        const int s = t * speed;
        for (int xi = 0; xi < kNX; ++xi) {
            const Masks& m = masks[kMinX + kStep * xi + s - kPMin];
            uint64_t after = next[xi];  // heights after the vertical move that lead on
            if (xi > 0) after |= m.left & next[xi - 1];
            if (xi + 1 < kNX) after |= m.right & next[xi + 1];
            cur[xi] = m.alive & (after | (m.up & (after << 1)) | (m.down & (after >> 1))) & kAllY;
        }
        next = cur;
    }
    return next;
}

uint64_t ShiftD(uint64_t v, int planeDelta) {  // bit d takes bit d + planeDelta
    return (planeDelta > 0 ? v >> planeDelta : v << -planeDelta) & kAllD;
}

SetB PreB(const std::vector<Masks>& masks, int speed, const SetB& target) {
    SetB next = target, cur{};
    uint64_t validFor[kPlanes];
    for (int q = 0; q < kPlanes; ++q) validFor[q] = ShiftD(kAllD, q - 1);  // pending in range
    for (int t = FramesOf(speed) - 1; t >= 0; --t) {
        const int s = t * speed;
        for (int xi = 0; xi < kNX; ++xi) {
            const Masks& m = masks[kMinX + kStep * xi + s - kPMin];
            for (int q = 0; q < kPlanes; ++q) {  // q - 1: the shift already made, to draw next
                // h[r]: drawn shifts now from which a horizontal choice and the vertical
                // key giving plane r lead into `next`.
                uint64_t h[kPlanes];
                for (int r = 0; r < kPlanes; ++r) {
                    uint64_t v = ShiftD(next[r][xi], q - 1);
                    if (xi > 0) v |= m.left & ShiftD(next[r][xi - 1], q - 1);
                    if (xi + 1 < kNX) v |= m.right & ShiftD(next[r][xi + 1], q - 1);
                    h[r] = v;
                }
                const uint64_t none = h[1];
                const uint64_t upKey = (m.up & h[2]) | (~m.up & h[0]);
                const uint64_t downKey = (m.down & h[0]) | (~m.down & h[2]);
                cur[q][xi] = m.alive & validFor[q] & (none | upKey | downKey);
            }
        }
        next = cur;
    }
    return next;
}

void And(SetA& a, const SetA& b, bool* any) {
    for (int xi = 0; xi < kNX; ++xi) {
        a[xi] &= b[xi];
        *any |= a[xi] != 0;
    }
}
void And(SetB& a, const SetB& b, bool* any) {
    for (int q = 0; q < kPlanes; ++q) And(a[q], b[q], any);
}

int Count(const SetA& a) {
    int n = 0;
    for (uint64_t v : a) n += __builtin_popcountll(v);
    return n;
}
int Count(const SetB& b) {
    int n = 0;
    for (const SetA& a : b) n += Count(a);
    return n;
}

template <typename Set, typename MasksT, typename Pre>
std::vector<Set> NarrowToFixpoint(const MasksT& pairs, int speed, Set all, Pre pre, int* rounds) {
    std::vector<Set> good(kMaps, all);
    bool changed = true;
    *rounds = 0;
    while (changed) {
        changed = false;
        ++*rounds;
        for (int i = 0; i < kMaps; ++i)
            for (int j = 0; j < kMaps; ++j) {
                if (i == j) continue;  // the game never shows a map twice in a row
                const Set reach = pre(pairs.For(i, j), speed, good[j]);
                Set narrowed = good[i];
                bool any = false;
                And(narrowed, reach, &any);
                if (narrowed != good[i]) changed = true;
                good[i] = narrowed;
            }
    }
    return good;
}

struct Outcome {
    bool startSafe = false;
    int rounds = 0;
    int smallest = 0;  // size of the smallest map's set of safe entry states
    double seconds = 0;
};

class CaveFairness : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        maps_ = new std::vector<WallMap>(LoadMaps(&error_));
    }
    static void TearDownTestSuite() { delete maps_; }
    static std::vector<WallMap>* maps_;
    static std::string error_;
};
std::vector<WallMap>* CaveFairness::maps_ = nullptr;
std::string CaveFairness::error_;

// Runs the speeds on two threads (the machine has two cores).
template <typename Fn>
std::vector<Outcome> ForSpeeds(int lo, int hi, Fn run) {
    std::vector<Outcome> out(hi + 1);
    std::vector<std::thread> workers;
    for (int w = 0; w < 2; ++w)
        workers.emplace_back([&, w] {
            for (int speed = hi - w; speed >= lo; speed -= 2) out[speed] = run(speed);
        });
    for (auto& t : workers) t.join();
    return out;
}

}  // namespace

TEST_F(CaveFairness, EveryMapAndJoinFlyableInModeAAtSpeeds1To6) {
    ASSERT_TRUE(error_.empty()) << error_;
    const auto t0 = std::chrono::steady_clock::now();
    const PairMasks<MasksA> pairs(*maps_);
    SetA all;
    all.fill(kAllY);
    const auto outcomes = ForSpeeds(1, 6, [&](int speed) {
        Outcome o;
        const auto t = std::chrono::steady_clock::now();
        const auto good = NarrowToFixpoint(pairs, speed, all, PreA, &o.rounds);
        o.startSafe = (good[0][(kStartX - kMinX) / kStep] >> kStartK) & 1;
        o.smallest = Count(good[0]);
        for (const SetA& g : good) o.smallest = std::min(o.smallest, Count(g));
        o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
        return o;
    });
    for (int speed = 1; speed <= 6; ++speed) {
        const Outcome& o = outcomes[speed];
        std::printf("Mode A speed %d: start safe %d, smallest safe entry set %d states, %d rounds, %.2f s\n",
                    speed, o.startSafe, o.smallest, o.rounds, o.seconds);
        EXPECT_TRUE(o.startSafe) << "speed " << speed
                                 << ": some order of maps cannot be flown from the start";
        EXPECT_GT(o.smallest, 0) << "speed " << speed;
    }
    std::printf("Mode A total %.2f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
}

TEST_F(CaveFairness, EveryMapAndJoinFlyableInModeBAtSpeeds1To4) {
    ASSERT_TRUE(error_.empty()) << error_;
    const auto t0 = std::chrono::steady_clock::now();
    const PairMasks<MasksB> pairs(*maps_);
    SetB all;
    for (SetA& a : all) a.fill(kAllD);
    const auto outcomes = ForSpeeds(1, 4, [&](int speed) {
        Outcome o;
        const auto t = std::chrono::steady_clock::now();
        const auto good = NarrowToFixpoint(pairs, speed, all, PreB, &o.rounds);
        o.startSafe = (good[0][1][(kStartX - kMinX) / kStep] >> kZeroD) & 1;
        o.smallest = Count(good[0]);
        for (const SetB& g : good) o.smallest = std::min(o.smallest, Count(g));
        o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
        return o;
    });
    for (int speed = 1; speed <= 4; ++speed) {
        const Outcome& o = outcomes[speed];
        std::printf("Mode B speed %d: start safe %d, smallest safe entry set %d states, %d rounds, %.2f s\n",
                    speed, o.startSafe, o.smallest, o.rounds, o.seconds);
        EXPECT_TRUE(o.startSafe) << "speed " << speed
                                 << ": some order of maps cannot be flown from the start";
        EXPECT_GT(o.smallest, 0) << "speed " << speed;
    }
    std::printf("Mode B total %.2f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
}
