// Cave proof: whether every order of the caves can be flown without boost, worked out
// from the walls of the map images with the game's own constants (src/*.h), so that a
// change of tuning is proved against the game as it is.
#pragma once
#include <string>
#include <vector>

// The walls of one map image, counted quickly in any rectangle.
class WallMap {
public:
    // wall: one flag per pixel of a kScreenWidth x kScreenHeight image, row by row.
    explicit WallMap(const std::vector<bool>& wall);
    // Wall pixels in columns c0..c1, rows r0..r1 (inclusive), clipped to the image.
    int Count(int c0, int c1, int r0, int r1) const;

private:
    std::vector<int> sat_;  // summed-area table, (kScreenWidth + 1) x (kScreenHeight + 1)
};

// The first order of maps that cannot be flown, as one line ("Mode A, speed 3: ..."), or
// "" when every order can be flown from the round's start at every speed proved.
// maps[0] opens every round; names[i] names maps[i].
std::string FirstUnflyable(const std::vector<WallMap>& maps, const std::vector<std::string>& names);
