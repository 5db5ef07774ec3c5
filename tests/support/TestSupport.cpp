// Test support: see TestSupport.h.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "SpriteSheet.h"

namespace testsupport {

ScratchDir::ScratchDir() {
    char cwd[4096];
    previous_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    char tmpl[] = "/tmp/comet-test-XXXXXX";
    const char* made = mkdtemp(tmpl);
    if (!made || chdir(made) != 0) ADD_FAILURE() << "no scratch folder";
    path_ = made ? made : "/tmp";
}

ScratchDir::~ScratchDir() {
    if (chdir(previous_.c_str()) != 0) ADD_FAILURE() << "chdir back failed";
    const std::string cmd = "chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cleanup failed";
}

std::string ScratchDir::Read(const std::string& name) const { return ReadFile(path_ + "/" + name); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void ScratchDir::Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ + "/" + name, std::ios::binary) << text;
}

Display::Display() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) ADD_FAILURE() << SDL_GetError();
    screen_ = SDL_SetVideoMode(480, 320, 24, 0);
    if (!screen_) ADD_FAILURE() << SDL_GetError();
}

Display::~Display() { SDL_Quit(); }

void StartCapture() {
    fflush(stdout);
    testing::internal::CaptureStdout();
}

std::string StopCapture() {
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

void FillRaw(SDL_Surface* s, int x, int y, int w, int h, Uint32 raw) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            Uint8* p = static_cast<Uint8*>(s->pixels) + j * s->pitch + i * 3;
            p[0] = raw & 0xff, p[1] = (raw >> 8) & 0xff, p[2] = (raw >> 16) & 0xff;
        }
}

void WriteSurfaceBmp(const std::string& path, SDL_Surface* s) {
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
    if (SDL_SaveBMP(s, path.c_str()) != 0) ADD_FAILURE() << "cannot write " << path;
}

void WriteSolidBmp(const std::string& path, int w, int h, Uint32 raw) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    SDL_FillRect(s, nullptr, raw);
    WriteSurfaceBmp(path, s);
    SDL_FreeSurface(s);
}

void WriteTestSheet() { WriteSolidBmp("image/material.bmp", sheet::kWidth, sheet::kHeight, 0xc83c3c); }

void WriteOpenCaves() {
    WriteSolidBmp("image/mapImg/open1.bmp", 480, 320, 0x141414);
    WriteSolidBmp("image/mapImg/open2.bmp", 480, 320, 0x141414);
    std::ofstream("image/mapImg/map.dat") << "image/mapImg/open1.bmp image/mapImg/open2.bmp\n";
}

}  // namespace testsupport
