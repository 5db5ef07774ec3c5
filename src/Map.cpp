// Map: the cave strip. Loads the twenty map images named in the map list, slides two of
// them across the screen each frame, shoves the ship when a wall reaches it from the
// right, and in Mode B shifts the whole strip up or down.
#include "Map.h"

#include <SDL_image.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "CollisionDetection.h"
#include "KeyState.h"
#include "Screen.h"

namespace {

constexpr const char* kMapListPath = "./image/mapImg/map.dat";
constexpr const char* kSeparator =
    "_________________________________________________________________";
// Bounded by kMapNameMax, so nothing is ever written beyond mapName.
constexpr const char* kNameFormat = "%29s";
static_assert(kMapNameMax == 29, "kNameFormat must hold the width of kMapNameMax");

constexpr SDL_Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// A 24-bit BMP already has the display's layout: converting it would be a plain copy,
// and half the time a Map takes to load.
bool HasFormatOf(const SDL_Surface* image, const SDL_Surface* display) {
    const SDL_PixelFormat& a = *image->format;
    const SDL_PixelFormat& b = *display->format;
    const bool keyedOrBlended = (image->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) != 0;
    return !a.palette && !b.palette && !keyedOrBlended && a.BitsPerPixel == b.BitsPerPixel &&
           a.BytesPerPixel == b.BytesPerPixel && a.Rmask == b.Rmask && a.Gmask == b.Gmask &&
           a.Bmask == b.Bmask && a.Amask == b.Amask;
}

// Converting once to the display's format keys (20,20,20) correctly whatever the file
// held (8-bit palette, 32-bit with alpha), drops any alpha so walls are drawn opaque,
// and makes the per-frame blit a plain copy.
SDL_Surface* ToDisplayFormat(SDL_Surface* loaded) {
    const SDL_Surface* display = SDL_GetVideoSurface();
    if (!display || HasFormatOf(loaded, display)) return loaded;
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    if (!converted) return loaded;
    SDL_FreeSurface(loaded);
    return converted;
}

void KeyOpenSpace(SDL_Surface* image) {
    const Uint32 key = SDL_MapRGB(image->format, kClearLevel, kClearLevel, kClearLevel);
    SDL_SetColorKey(image, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
}

}  // namespace

Map::Map()
    : mapImage{},
      listFile(nullptr),
      mapName{},
      curSrc{},
      nextSrc{},
      current(0),
      next(0),
      pickNext(0),
      scroll(0),
      offsetY(0),
      curDst{},
      nextDst{},
      speed(kStartSpeed),
      verticalStep(kVerticalStep) {
    listFile = std::fopen(kMapListPath, "r");
    PrintListLine();
    if (listFile) {
        LoadImages();
        std::fclose(listFile);
        listFile = nullptr;
    }
    std::puts(kSeparator);
    ResetStrip();
}

Map::~Map() {
    for (SDL_Surface*& image : mapImage) {
        if (image) SDL_FreeSurface(image);
        image = nullptr;
    }
}

void Map::PrintListLine() const {
    std::puts(listFile ? "OK: MapDataFile was successfully loaded."
                       : "Error: MapDataFile could not be loaded.");
    std::putchar('\n');
}

void Map::LoadImages() {
    // A refused name stays refused for the slots that find no further name.
    bool refused = false;
    for (int slot = 0; slot < kMapCount; ++slot) {
        const NameRead read = ReadName();
        if (read != NameRead::kNoName) refused = read == NameRead::kTooLong;
        LoadSlot(slot, refused);
    }
}

// Reads the next name of the list into mapName; at the end of the list mapName keeps
// the last name read.
Map::NameRead Map::ReadName() {
    char name[kMapNameMax + 1] = {};
    if (std::fscanf(listFile, kNameFormat, name) != 1) return NameRead::kNoName;
    std::memcpy(mapName, name, sizeof mapName);
    if (!NameContinues()) return NameRead::kName;
    SkipRestOfName();
    return NameRead::kTooLong;
}

bool Map::NameContinues() {
    const int c = std::fgetc(listFile);
    if (c == EOF) return false;
    std::ungetc(c, listFile);
    return !std::isspace(c);
}

// The tail of an over-long name must not be taken for the next name.
void Map::SkipRestOfName() {
    int c = std::fgetc(listFile);
    while (c != EOF && !std::isspace(c)) c = std::fgetc(listFile);
}

void Map::LoadSlot(int slot, bool refused) {
    SDL_Surface* loaded = (refused || mapName[0] == '\0') ? nullptr : IMG_Load(mapName);
    if (!loaded) {
        std::printf("Error: [%s] could not be loaded.\n", mapName);
        return;
    }
    std::printf("OK: MapFile [%s] was successfully loaded.\n", mapName);
    mapImage[slot] = ToDisplayFormat(loaded);
    KeyOpenSpace(mapImage[slot]);
}

void Map::ResetStrip() {
    curSrc = kWholeScreen;
    nextSrc = kWholeScreen;
    curDst = SDL_Rect{};
    nextDst = SDL_Rect{};
    current = 0;
    next = 0;
    scroll = 0;
    pickNext = 0;
    speed = kStartSpeed;
    verticalStep = kVerticalStep;
    offsetY = 0;
}

void Map::ScrollDraw(SDL_Surface* screen, int* shipX, int* shipY, int boost) {
    WrapStrip();
    if (scroll == 0) pickNext = 1;
    if (pickNext == 1) PickNextImage();
    curDst.x = static_cast<Sint16>(-scroll);
    nextDst.x = static_cast<Sint16>(kScreenWidth - scroll);
    BlitImage(screen, current, &curSrc, &curDst);
    BlitImage(screen, next, &nextSrc, &nextDst);
    scroll += speed;
    if (boost == 0) PushBack(screen, shipX, *shipY);
    // After the blits, before this frame's Move: a shift Move makes in frame N is set
    // here in frame N + 1 and drawn in frame N + 2.
    curDst.y = static_cast<Sint16>(offsetY);
    nextDst.y = static_cast<Sint16>(offsetY);
}

// Back to 0 rather than down by 480: the wrap frame may move the strip less than speed.
void Map::WrapStrip() {
    if (scroll <= kScreenWidth - 1) return;
    scroll = 0;
    current = next;
}

void Map::PickNextImage() {
    do {
        next = std::rand() % kMapCount;
    } while (next == current);
    pickNext = 0;
}

// An empty slot (its image failed to load) leaves the frame as it was.
void Map::BlitImage(SDL_Surface* screen, int slot, SDL_Rect* src, SDL_Rect* dst) {
    if (!mapImage[slot]) return;
    SDL_UpperBlit(mapImage[slot], src, screen, dst);
}

// Up to `speed` tests; the frame does not change between them, so the ship is shoved
// once by exactly `speed` or not at all.
void Map::PushBack(SDL_Surface* screen, int* shipX, int shipY) {
    CollisionDetection hit;
    for (int i = 0; i < speed; ++i) {
        if (!hit.PlayerAndMap(screen, *shipX, shipY, kProbeRight)) {
            *shipX -= speed;
            return;
        }
    }
}

void Map::Move(SDL_Surface* screen, unsigned char keys, int shipX, int shipY, int boost,
               int mode) {
    if (mode != kModeB || boost != 0) return;
    if (keys & kKeyUp) ShiftStrip(screen, shipX, shipY, kProbeUp, +1);
    if (keys & kKeyDown) ShiftStrip(screen, shipX, shipY, kProbeDown, -1);
}

// A free line lets the ship climb (or sink) through the cave by moving the strip the
// other way; a blocked line moves the strip away from the wall.
void Map::ShiftStrip(SDL_Surface* screen, int shipX, int shipY, int direction, int freeShift) {
    CollisionDetection hit;
    for (int i = 0; i < verticalStep; ++i)
        offsetY += hit.PlayerAndMap(screen, shipX, shipY, direction) ? freeShift : -freeShift;
}
