// Test support: see TestSupport.h.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace testsupport {

ScratchDir::ScratchDir() {
    char cwd[4096];
    previous_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    char tmpl[] = "/tmp/comet-test-XXXXXX";
    const char* made = mkdtemp(tmpl);
    if (!made) ADD_FAILURE() << "mkdtemp failed";
    path_ = made ? made : "/tmp";
    if (chdir(path_.c_str()) != 0) ADD_FAILURE() << "chdir failed";
}

ScratchDir::~ScratchDir() {
    if (chdir(previous_.c_str()) != 0) ADD_FAILURE() << "chdir back failed";
    const std::string cmd = "chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cleanup failed";
}

std::string ScratchDir::Read(const std::string& name) const {
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void ScratchDir::Write(const std::string& name, const std::string& text) const {
    std::ofstream out(path_ + "/" + name, std::ios::binary);
    out << text;
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

SDL_Surface* MakeSurface(int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface* s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    return s;
}

static void MakeParents(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
}

void WriteSolidBmp(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    MakeParents(path);
    SDL_Surface* s = MakeSurface(w, h, r, g, b);
    if (SDL_SaveBMP(s, path.c_str()) != 0) ADD_FAILURE() << "cannot write " << path;
    SDL_FreeSurface(s);
}

void WriteTestSheet(const std::string& folder) {
    WriteSolidBmp(folder + "/image/material.bmp", 473, 309, 200, 60, 60);
}

Uint32 DigitColour(int d) { return 0x204000 + 0x10 * (d + 1); }

void WriteDigitSheet() {
    SDL_Surface* sheet = MakeSurface(473, 309, 200, 60, 60);
    for (int d = 0; d < 10; ++d) FillRaw(sheet, 12 * d, 64, 12, 10, DigitColour(d));
    MakeParents("image/material.bmp");
    if (SDL_SaveBMP(sheet, "image/material.bmp") != 0) ADD_FAILURE() << "cannot write sheet";
    SDL_FreeSurface(sheet);
}

int DigitAt(SDL_Surface* screen, int x, int y) {
    Uint8* p = static_cast<Uint8*>(screen->pixels) + (y + 5) * screen->pitch + (x + 6) * 3;
    const Uint32 raw = p[0] | (p[1] << 8) | (p[2] << 16);
    for (int d = 0; d < 10; ++d)
        if (raw == DigitColour(d)) return d;
    return -1;
}

void WriteOpenCaves() {
    WriteSolidBmp("image/mapImg/open1.bmp", 480, 320, 20, 20, 20);
    WriteSolidBmp("image/mapImg/open2.bmp", 480, 320, 20, 20, 20);
    std::ofstream("image/mapImg/map.dat") << "image/mapImg/open1.bmp image/mapImg/open2.bmp\n";
}

void PutRaw(SDL_Surface* s, int x, int y, Uint32 raw) {
    Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
    p[0] = raw & 0xff;
    p[1] = (raw >> 8) & 0xff;
    p[2] = (raw >> 16) & 0xff;
}

void FillRaw(SDL_Surface* s, int x, int y, int w, int h, Uint32 raw) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) PutRaw(s, i, j, raw);
}

void PushKey(Uint8 type, SDLKey sym) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

void PushQuit() {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void WriteSurfaceBmp(const std::string& path, SDL_Surface* s) {
    MakeParents(path);
    if (SDL_SaveBMP(s, path.c_str()) != 0) ADD_FAILURE() << "cannot write " << path;
}

std::vector<Uint32> LoadRgb(const std::string& path, int* w, int* h) {
    *w = *h = 0;
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) return {};
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_Surface* s = SDL_ConvertSurface(loaded, rgb->format, SDL_SWSURFACE);
    std::vector<Uint32> px;
    if (s) {
        *w = s->w, *h = s->h;
        for (int y = 0; y < s->h; ++y) {
            const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
            px.insert(px.end(), row, row + s->w);
        }
        SDL_FreeSurface(s);
    }
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(loaded);
    return px;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteHalfWallBmp(const std::string& path, int bits) {
    const int w = 480, h = 320;
    if (bits == 8) {
        SDL_Surface* pal = SDL_CreateRGBSurface(0, w, h, 8, 0, 0, 0, 0);
        SDL_Color colours[2] = {{20, 20, 20, 0}, {155, 155, 155, 0}};
        SDL_SetColors(pal, colours, 0, 2);
        SDL_Rect right{w / 2, 0, w / 2, h};
        SDL_FillRect(pal, &right, 1);
        WriteSurfaceBmp(path, pal);
        SDL_FreeSurface(pal);
        return;
    }
    // Written by hand: SDL_SaveBMP would drop the alpha byte.
    std::string bmp = "BM";
    auto put = [&bmp](Uint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp += char((v >> (8 * i)) & 0xff);
    };
    put(54 + w * h * 4, 4), put(0, 4), put(54, 4);                       // file header
    put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(32, 2), put(0, 4);  // info header
    put(w * h * 4, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(x < w / 2 ? 0x80141414 : 0x809b9b9b, 4);
    MakeParents(path);
    std::ofstream(path, std::ios::binary) << bmp;
}

}  // namespace testsupport
