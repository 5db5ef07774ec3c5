// The cave proof tool: refuses caves the game cannot use, or cannot be flown in.
//   comet-caveproof GAME_FOLDER
// reads GAME_FOLDER/image/mapImg/map.dat and the map images it names, as the game finds
// them from its working directory. Prints one line naming the fault and exits 1, or
// exits 0 saying nothing. The art build runs it after drawing the caves.
#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CaveProof.h"
#include "CollisionDetection.h"
#include "Map.h"
#include "Screen.h"

namespace {

constexpr const char* kMapList = "image/mapImg/map.dat";  // as the game opens it

// A map image as raw 0xRRGGBB pixels, as GetPixel reads them off the 24-bit display.
std::vector<Uint32> LoadRaw(const std::string& path) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) throw std::runtime_error(path + ": cannot be loaded");
    SDL_PixelFormat rgb{};
    rgb.BitsPerPixel = 32, rgb.BytesPerPixel = 4;
    rgb.Rmask = 0xff0000, rgb.Gmask = 0xff00, rgb.Bmask = 0xff;
    rgb.Rshift = 16, rgb.Gshift = 8, rgb.alpha = 255;
    SDL_Surface* s = SDL_ConvertSurface(loaded, &rgb, SDL_SWSURFACE);
    const bool screenSized = loaded->w == kScreenWidth && loaded->h == kScreenHeight;
    SDL_FreeSurface(loaded);
    if (!s || !screenSized) {
        if (s) SDL_FreeSurface(s);
        throw std::runtime_error(path + ": not a " + std::to_string(kScreenWidth) + "x" +
                                 std::to_string(kScreenHeight) + " picture");
    }
    std::vector<Uint32> px;
    for (int y = 0; y < s->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) px.push_back(row[x] & 0xffffff);
    }
    SDL_FreeSurface(s);
    return px;
}

// Each pixel open space or wall; the top and bottom rows wall, as probes off the screen
// never block and an open row would let the ship fly out of the cave.
std::vector<bool> Walls(const std::string& path, const std::vector<Uint32>& px) {
    std::vector<bool> wall(px.size());
    for (size_t n = 0; n < px.size(); ++n) {
        const int x = static_cast<int>(n % kScreenWidth), y = static_cast<int>(n / kScreenWidth);
        if (px[n] != kClearRaw && !IsWall(px[n]))
            throw std::runtime_error(path + ": (" + std::to_string(x) + ", " + std::to_string(y) +
                                     ") is neither open space nor wall");
        wall[n] = IsWall(px[n]);
        if (!wall[n] && (y == 0 || y == kScreenHeight - 1))
            throw std::runtime_error(path + ": open at (" + std::to_string(x) + ", " + std::to_string(y) +
                                     "), the ship could leave the cave");
    }
    return wall;
}

// Any map may follow any other: both edges of every map are the first map's right edge.
void ExpectSharedEdges(const std::string& path, const std::vector<bool>& wall, const std::vector<bool>& first) {
    auto at = [](const std::vector<bool>& w, int x, int y) { return w[static_cast<size_t>(y) * kScreenWidth + x]; };
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x : {0, kScreenWidth - 1})
            if (at(wall, x, y) != at(first, kScreenWidth - 1, y))
                throw std::runtime_error(path + ": (" + std::to_string(x) + ", " + std::to_string(y) +
                                         ") breaks the edge all maps share");
}

// "image/mapImg/cave05.bmp" -> "cave05"
std::string ShortName(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    return base.substr(0, base.find('.'));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    try {
        std::ifstream list(folder + kMapList);
        std::vector<WallMap> maps;
        std::vector<std::string> names;
        std::vector<bool> firstWalls;
        for (std::string name; maps.size() < kMapCount && list >> name;) {
            const std::vector<bool> walls = Walls(name, LoadRaw(folder + name));
            if (firstWalls.empty()) firstWalls = walls;
            ExpectSharedEdges(name, walls, firstWalls);
            maps.emplace_back(walls);
            names.push_back(ShortName(name));
        }
        if (maps.size() != kMapCount)
            throw std::runtime_error(folder + kMapList + ": fewer than " + std::to_string(kMapCount) + " maps");
        const std::string fault = FirstUnflyable(maps, names);
        if (!fault.empty()) throw std::runtime_error(fault);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "comet-caveproof: %s\n", e.what());
        return 1;
    }
    return 0;
}
