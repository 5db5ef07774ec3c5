// Cave proof: shows, from the map images, that the caves can always be flown without
// boost, whatever order the game draws them in. The numbers of the game are taken from its
// headers, never copied; those in this comment are today's values.
//
// The ship as the game moves it, frame by frame (scroll s, ship box 12x12 at (x, y)):
//   1. the two maps are drawn at scroll s; if a wall pixel lies on the column just right
//      of the ship (x+12, rows y..y+11) the ship is shoved left by the speed;
//   2. the ship moves up to 5 pixels vertically, then up to 5 horizontally, one pixel at
//      a time, each step only if the line of pixels one outside that side shows no wall;
//      x past 466 is put back to 467; x below -11 has crashed;
//   3. the scroll grows by the speed; past 479 it starts again at 0 on the next map.
// A wall is any grey (155,155,155) or black pixel; probes off the screen never block.
// Mode B keeps the ship on rows 154..165 and shifts the maps instead: up held moves the
// maps 5 pixels down when the line above the ship is free and 5 up when it is blocked
// (down the mirror image); the game draws a shift two frames after the frame that makes
// it, tests with what is drawn, and crashes when the shift passes 155 either way.
//
// The search takes the part of a pilot who plays it safe: he only makes whole 5-pixel
// moves that nothing blocks, never lets a wall shove him, and never holds two opposite
// keys. Whatever he can fly, the real ship can fly. His positions then lie on a 5-pixel
// lattice (x = -10, -5, ... 465; y = 4, 9, ... 304, through the start at (0, 154)), so one
// 64-bit word holds every height at one x, and a whole frame is one word per column.
// Pixels of the current map left of the screen, and of the next map right of it, are
// counted as walls (harder, so safe).
//
// For every ordered pair of maps (i followed by j), a backward pass over the frames of
// map i finds the states at the moment i comes on screen from which the pilot can reach a
// chosen set of states at the moment j comes on screen. The sets for all twenty maps are
// narrowed together until no pair removes anything: then from any state in map i's set,
// whichever map comes next, the pilot reaches that map's set, and so on forever. The
// caves pass when the round's start (x 0, y 154 on the first map; in Mode B also shift
// 0) is in the first map's set, for every speed proved.
#include "CaveProof.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "CollisionDetection.h"
#include "Map.h"
#include "Screen.h"
#include "Tuning.h"

namespace {

constexpr int kW = kScreenWidth, kH = kScreenHeight;
constexpr int kStep = kShipStep;  // the safe pilot's whole move, sideways and in Mode A up and down
constexpr int kBox = kShipSize;

// The speeds proved, from the round's start speed: a round reaches speed 6 after 5000
// frames; Mode B, whose search is three times the work, is proved to speed 4. Each must
// divide the width, as the passes below take every map to be current for kW / speed frames.
constexpr int kTopSpeedModeA = 6;
constexpr int kTopSpeedModeB = 4;

// Lattice x through the start: from the leftmost x that has not crashed to the rightmost
// the clamp leaves where it is.
constexpr int kMinX = kShipStartX - (kShipStartX - kLeftCrashX) / kStep * kStep;
constexpr int kMaxX = kShipStartX + (kShipMaxX - kShipStartX) / kStep * kStep;
constexpr int kNX = (kMaxX - kMinX) / kStep + 1;

// Mode A: lattice y through the start, the box on the screen.
constexpr int kMinY = kShipStartY % kStep;
constexpr int kNY = (kH - kBox - kMinY) / kStep + 1;
constexpr int kStartK = (kShipStartY - kMinY) / kStep;
static_assert(kNY <= 64, "one 64-bit word holds every Mode A height");
constexpr uint64_t kAllY = kNY == 64 ? ~uint64_t(0) : (uint64_t(1) << kNY) - 1;

// Mode B: the drawn shifts that have not crashed, -kMaxShift .. kMaxShift by the strip's step.
constexpr int kMaxShift = kShiftCrash / kVerticalStep * kVerticalStep;
constexpr int kND = 2 * kMaxShift / kVerticalStep + 1;
constexpr int kZeroD = kMaxShift / kVerticalStep;
static_assert(kND <= 64, "one 64-bit word holds every Mode B shift");
constexpr uint64_t kAllD = kND == 64 ? ~uint64_t(0) : (uint64_t(1) << kND) - 1;

// ------------------------------------------------------------------ the maps
// Wall pixels in a rectangle of the strip "map i, then map j" (columns 0 .. 2 kW - 1);
// anything left of it is off the screen while i is current, and so free.
struct Strip {
    const WallMap* cur;
    const WallMap* next;
    int Count(int c0, int c1, int r0, int r1) const {
        return cur->Count(c0, std::min(c1, kW - 1), r0, r1) +
               (next ? next->Count(std::max(c0, kW) - kW, c1 - kW, r0, r1) : 0);
    }
};

// What the safe pilot may do with his ship's left edge at strip column p, one bit per
// lattice height (Mode A) or per drawn shift (Mode B).
struct Masks {
    uint64_t alive = 0;  // no wall on the column just right: not shoved
    uint64_t up = 0;     // Mode A: a whole step free above; Mode B: the line above is free
    uint64_t down = 0;   // Mode A: a whole step free below; Mode B: the line below is free
    uint64_t left = 0;   // a whole step free to the left
    uint64_t right = 0;  // a whole step free to the right
};

template <bool kModeB>
Masks MasksAt(const Strip& st, int p) {
    Masks m;
    const int reach = kModeB ? 1 : kStep;  // Mode B tests one line above or below
    for (int k = 0; k < (kModeB ? kND : kNY); ++k) {
        // The ship's top row on the map; in Mode B a drawn shift moves the map, not the ship.
        const int top = kModeB ? kShipStartY + kMaxShift - kVerticalStep * k : kMinY + kStep * k;
        const int bottom = top + kBox - 1;
        const uint64_t bit = uint64_t(1) << k;
        if (!st.Count(p + kBox, p + kBox, top, bottom)) m.alive |= bit;
        if (!st.Count(p, p + kBox - 1, top - reach, top - 1)) m.up |= bit;
        if (!st.Count(p, p + kBox - 1, bottom + 1, bottom + reach)) m.down |= bit;
        if (!st.Count(p - kStep, p - 1, top, bottom)) m.left |= bit;
        if (!st.Count(p + kBox, p + kBox + kStep - 1, top, bottom)) m.right |= bit;
    }
    return m;
}

// ------------------------------------------------------------------ masks of every pair
// A ship at strip column p probes columns p - kStep .. p + kBox + kStep - 1. Away from the
// join those belong to one map only, so most masks are worked out once per map; the few
// columns that reach across the join are worked out per pair.
constexpr int kPMin = kMinX, kPMax = kMaxX + kW - 1;
constexpr int kJoinLo = kW - (kBox + kStep - 1), kJoinHi = kW + kStep - 1;

template <bool kModeB>
class PairMasks {
public:
    explicit PairMasks(const std::vector<WallMap>& maps) : maps_(maps), alone_(maps.size()) {
        // Past kPMax - kW the strip shows what follows j: off the screen, so free.
        for (size_t i = 0; i < maps.size(); ++i)
            for (int p = kPMin; p <= std::max(kJoinLo - 1, kPMax - kW); ++p)
                alone_[i].push_back(MasksAt<kModeB>({&maps[i], nullptr}, p));
    }
    // All masks for the strip i, j, indexed by p - kPMin.
    std::vector<Masks> For(int i, int j) const {
        std::vector<Masks> out(alone_[i].begin(), alone_[i].begin() + (kJoinLo - kPMin));
        for (int p = kJoinLo; p <= kJoinHi; ++p) out.push_back(MasksAt<kModeB>({&maps_[i], &maps_[j]}, p));
        out.insert(out.end(), alone_[j].begin() + (kJoinHi + 1 - kW - kPMin),
                   alone_[j].begin() + (kPMax + 1 - kW - kPMin));
        return out;
    }

private:
    const std::vector<WallMap>& maps_;
    std::vector<std::vector<Masks>> alone_;
};

// ------------------------------------------------------------------ backward passes
// A set of states: Mode A one word of heights per lattice x; Mode B three planes (the
// shift still to be drawn, down a step / none / up a step) of such words, each holding
// the drawn shifts.
using Set = std::vector<uint64_t>;
constexpr int kPlanes = 3;

// States at the start of map i from which `target` (at the start of map j) is reachable.
Set PreA(const std::vector<Masks>& masks, int speed, const Set& target) {
    Set next = target, cur(kNX);
    for (int t = kW / speed - 1; t >= 0; --t) {
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

bool IsEmpty(const Set& s) {
    return std::all_of(s.begin(), s.end(), [](uint64_t v) { return v == 0; });
}

// Narrows every map's set until no pair removes anything; returns the sets. *emptied is
// the first pair (i, j) whose pass left map i no state to enter by, if any.
template <bool kModeB>
std::vector<Set> SafeEntrySets(const PairMasks<kModeB>& pairs, int maps, int speed, std::pair<int, int>* emptied) {
    std::vector<Set> good(maps, kModeB ? Set(kPlanes * kNX, kAllD) : Set(kNX, kAllY));
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 0; i < maps; ++i)
            for (int j = 0; j < maps; ++j) {
                if (i == j) continue;  // the game never shows a map twice in a row
                const Set reach = (kModeB ? PreB : PreA)(pairs.For(i, j), speed, good[j]);
                for (size_t n = 0; n < reach.size(); ++n) {
                    changed |= (good[i][n] & ~reach[n]) != 0;
                    good[i][n] &= reach[n];
                }
                if (emptied->first < 0 && IsEmpty(good[i])) *emptied = {i, j};
            }
    }
    return good;
}

// "" when every order can be flown at every speed of the mode, else what cannot.
template <bool kModeB>
std::string FirstUnflyableIn(const std::vector<WallMap>& maps, const std::vector<std::string>& names) {
    const PairMasks<kModeB> pairs(maps);
    const int topSpeed = kModeB ? kTopSpeedModeB : kTopSpeedModeA;
    for (int speed = kStartSpeed; speed <= topSpeed; ++speed) {
        if (kW % speed != 0) throw std::logic_error("speed " + std::to_string(speed) + " does not divide the width");
        std::pair<int, int> emptied{-1, -1};
        const std::vector<Set> good = SafeEntrySets(pairs, static_cast<int>(maps.size()), speed, &emptied);
        // Mode B starts with no shift made and none pending: the middle plane, shift 0.
        const uint64_t startWord = good[0][(kModeB ? kNX : 0) + (kShipStartX - kMinX) / kStep];
        if ((startWord >> (kModeB ? kZeroD : kStartK)) & 1) continue;
        const std::string where = std::string("Mode ") + (kModeB ? "B" : "A") + ", speed " + std::to_string(speed) + ": ";
        if (emptied.first >= 0)
            return where + names[emptied.first] + " followed by " + names[emptied.second] +
                   " cannot be flown without boost";
        return where + "the round's start in " + names[0] + " cannot be flown without boost";
    }
    return "";
}

}  // namespace

WallMap::WallMap(const std::vector<bool>& wall) : sat_(static_cast<size_t>(kW + 1) * (kH + 1)) {
    auto S = [this](int c, int r) -> int& { return sat_[static_cast<size_t>(r) * (kW + 1) + c]; };
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            S(x + 1, y + 1) = wall[static_cast<size_t>(y) * kW + x] + S(x + 1, y) + S(x, y + 1) - S(x, y);
}

int WallMap::Count(int c0, int c1, int r0, int r1) const {
    c0 = std::max(c0, 0), c1 = std::min(c1, kW - 1);
    r0 = std::max(r0, 0), r1 = std::min(r1, kH - 1);
    if (c0 > c1 || r0 > r1) return 0;
    auto S = [this](int c, int r) { return sat_[static_cast<size_t>(r) * (kW + 1) + c]; };
    return S(c1 + 1, r1 + 1) - S(c0, r1 + 1) - S(c1 + 1, r0) + S(c0, r0);
}

std::string FirstUnflyable(const std::vector<WallMap>& maps, const std::vector<std::string>& names) {
    const std::string a = FirstUnflyableIn<false>(maps, names);
    return a.empty() ? FirstUnflyableIn<true>(maps, names) : a;
}
