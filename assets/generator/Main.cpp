// The art generator: draws the sprite sheet and the caves (one per slot of the game's map
// list, kMapCount) into the game's data folder.
//   comet-artgen CAVE_FOLDER IMAGE_FOLDER
// reads CAVE_FOLDER/cave01.txt, cave02.txt and on, and writes IMAGE_FOLDER/material.bmp,
// IMAGE_FOLDER/mapImg/caveNN.bmp and IMAGE_FOLDER/mapImg/map.dat, which names the caves
// in order as the game finds them from its working directory. cave01 opens every round.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sys/stat.h>

#include "Art.h"
#include "Map.h"

namespace {

void MakeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0) {
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            throw std::runtime_error("cannot make folder " + path);
    }
}

std::string CaveName(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "cave%02d", n);
    return buf;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CAVE_FOLDER IMAGE_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string caves = argv[1], out = argv[2];
    try {
        MakeDir(out);
        MakeDir(out + "/mapImg");
        DrawSheet().WriteBmp(out + "/material.bmp");
        std::string list;
        for (int n = 1; n <= kMapCount; ++n) {
            const std::string name = CaveName(n);
            DrawCave(caves + "/" + name + ".txt").WriteBmp(out + "/mapImg/" + name + ".bmp");
            list += "image/mapImg/" + name + ".bmp\n";
        }
        std::ofstream f(out + "/mapImg/map.dat", std::ios::binary);
        f << list;
        if (!f) throw std::runtime_error("cannot write map.dat");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "comet-artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
