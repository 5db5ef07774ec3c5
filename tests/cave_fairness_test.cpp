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

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

constexpr int kW = 480, kH = 320, kMaps = 20;
constexpr int kStep = 5;
constexpr int kMinX = -10, kMaxX = 465;  // lattice x; the game caps at 467, crashes below -11
constexpr int kNX = (kMaxX - kMinX) / kStep + 1;  // 96
constexpr int kStartX = 0, kStartY = 154;
constexpr int kMaxShift = 155;

// ------------------------------------------------------------------ the maps
struct WallMap {
    std::vector<int> sat = std::vector<int>((kW + 1) * (kH + 1));  // summed-area table of walls
    int& S(int c, int r) { return sat[static_cast<size_t>(r) * (kW + 1) + c]; }
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
    std::vector<WallMap> maps;
    for (std::string name; maps.size() < kMaps && list >> name;) {
        int w, h;
        const std::vector<Uint32> px = testsupport::LoadRgb(build + "/" + name, &w, &h);
        if (w != kW || h != kH) break;
        WallMap m;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const Uint32 c = px[static_cast<size_t>(y) * kW + x];
                m.S(x + 1, y + 1) = (c == 0x9b9b9b || c == 0) + m.S(x + 1, y) + m.S(x, y + 1) - m.S(x, y);
            }
        maps.push_back(std::move(m));
    }
    if (maps.size() != kMaps) *error = "no twenty 480x320 maps in " + build + "/image: build `art` first";
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

constexpr int kNY = 61;  // Mode A: y = 4 + 5k, k = 0..60: the box stays on rows 4..315
constexpr int kStartK = (kStartY - 4) / kStep;
constexpr uint64_t kAllY = (uint64_t(1) << kNY) - 1;
constexpr int kND = 2 * kMaxShift / kStep + 1;  // Mode B: shifts -155, -150, ... 155: 63
constexpr int kZeroD = kMaxShift / kStep;
constexpr uint64_t kAllD = (uint64_t(1) << kND) - 1;

template <bool kModeB>
Masks MasksAt(const Strip& st, int p) {
    Masks m;
    const int reach = kModeB ? 1 : kStep;  // Mode B tests one line above or below
    for (int k = 0; k < (kModeB ? kND : kNY); ++k) {
        // The ship's top row on the map; in Mode B shift -155 + 5k moves the map, not the ship.
        const int top = kModeB ? kStartY + kMaxShift - kStep * k : 4 + kStep * k;
        const uint64_t bit = uint64_t(1) << k;
        if (!st.Count(p + 12, p + 12, top, top + 11)) m.alive |= bit;
        if (!st.Count(p, p + 11, top - reach, top - 1)) m.up |= bit;
        if (!st.Count(p, p + 11, top + 12, top + 11 + reach)) m.down |= bit;
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

template <bool kModeB>
class PairMasks {
public:
    explicit PairMasks(const std::vector<WallMap>& maps) : maps_(maps), alone_(maps.size()) {
        for (size_t i = 0; i < maps.size(); ++i)
            for (int p = kPMin; p < kJoinLo; ++p) alone_[i].push_back(MasksAt<kModeB>({&maps[i], nullptr}, p));
    }
    // All masks for the strip i, j, indexed by p - kPMin.
    std::vector<Masks> For(int i, int j) const {
        std::vector<Masks> out(alone_[i]);
        for (int p = kJoinLo; p <= kJoinHi; ++p) out.push_back(MasksAt<kModeB>({&maps_[i], &maps_[j]}, p));
        out.insert(out.end(), alone_[j].begin() + (kJoinHi + 1 - kW - kPMin), alone_[j].end());
        return out;
    }

private:
    const std::vector<WallMap>& maps_;
    std::vector<std::vector<Masks>> alone_;
};

// ------------------------------------------------------------------ backward passes
// A set of states: Mode A one word of heights per lattice x; Mode B three planes (the
// shift still to be drawn, -5 / 0 / +5) of such words, each holding the drawn shifts.
using Set = std::vector<uint64_t>;
constexpr int kPlanes = 3;

// States at the start of map i from which `target` (at the start of map j) is reachable.
Set PreA(const std::vector<Masks>& masks, int speed, const Set& target) {
    Set next = target, cur(kNX);
    for (int t = kW / speed - 1; t >= 0; --t) {  // speeds 1..6 all divide 480
        for (int xi = 0; xi < kNX; ++xi) {
            const Masks& m = masks[kMinX + kStep * xi + t * speed - kPMin];
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

Set PreB(const std::vector<Masks>& masks, int speed, const Set& target) {
    Set next = target, cur(kPlanes * kNX);
    for (int t = kW / speed - 1; t >= 0; --t) {
        for (int xi = 0; xi < kNX; ++xi) {
            const Masks& m = masks[kMinX + kStep * xi + t * speed - kPMin];
            for (int q = 0; q < kPlanes; ++q) {  // q - 1: the shift already made, to draw next
                // h[r]: drawn shifts now from which a horizontal choice and the vertical
                // key giving plane r lead into `next`.
                uint64_t h[kPlanes];
                for (int r = 0; r < kPlanes; ++r) {
                    const uint64_t* n = &next[r * kNX];
                    h[r] = ShiftD(n[xi], q - 1);
                    if (xi > 0) h[r] |= m.left & ShiftD(n[xi - 1], q - 1);
                    if (xi + 1 < kNX) h[r] |= m.right & ShiftD(n[xi + 1], q - 1);
                }
                const uint64_t upKey = (m.up & h[2]) | (~m.up & h[0]);
                const uint64_t downKey = (m.down & h[0]) | (~m.down & h[2]);
                const uint64_t pendingInRange = ShiftD(kAllD, q - 1);
                cur[q * kNX + xi] = m.alive & pendingInRange & (h[1] | upKey | downKey);
            }
        }
        next = cur;
    }
    return next;
}

// Narrows every map's set until no pair removes anything; returns the sets.
template <bool kModeB>
std::vector<Set> SafeEntrySets(const PairMasks<kModeB>& pairs, int speed, int* rounds) {
    std::vector<Set> good(kMaps, kModeB ? Set(kPlanes * kNX, kAllD) : Set(kNX, kAllY));
    for (bool changed = true; changed; ++*rounds) {
        changed = false;
        for (int i = 0; i < kMaps; ++i)
            for (int j = 0; j < kMaps; ++j) {
                if (i == j) continue;  // the game never shows a map twice in a row
                const Set reach = (kModeB ? PreB : PreA)(pairs.For(i, j), speed, good[j]);
                for (size_t n = 0; n < reach.size(); ++n) {
                    changed |= (good[i][n] & ~reach[n]) != 0;
                    good[i][n] &= reach[n];
                }
            }
    }
    return good;
}

template <bool kModeB>
void ExpectEveryOrderFlyable(int topSpeed) {
    std::string error;
    const std::vector<WallMap> maps = LoadMaps(&error);
    ASSERT_EQ(error, "");
    const PairMasks<kModeB> pairs(maps);
    for (int speed = 1; speed <= topSpeed; ++speed) {
        int rounds = 0, smallest = 1 << 30;
        const std::vector<Set> good = SafeEntrySets(pairs, speed, &rounds);
        for (const Set& g : good) {
            int n = 0;
            for (uint64_t v : g) n += __builtin_popcountll(v);
            smallest = std::min(smallest, n);
        }
        // Mode B starts with no shift made and none pending: plane 1, shift 0.
        const uint64_t startWord = good[0][(kModeB ? kNX : 0) + (kStartX - kMinX) / kStep];
        const bool startSafe = (startWord >> (kModeB ? kZeroD : kStartK)) & 1;
        std::printf("Mode %c speed %d: start safe %d, smallest safe entry set %d states, %d rounds\n",
                    kModeB ? 'B' : 'A', speed, startSafe, smallest, rounds);
        EXPECT_TRUE(startSafe) << "speed " << speed << ": some order of maps cannot be flown from the start";
    }
}

}  // namespace

TEST(CaveFairness, EveryMapAndJoinFlyableInModeAAtSpeeds1To6) { ExpectEveryOrderFlyable<false>(6); }

TEST(CaveFairness, EveryMapAndJoinFlyableInModeBAtSpeeds1To4) { ExpectEveryOrderFlyable<true>(4); }
