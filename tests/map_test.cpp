// Map: the map list and its console lines, the images whatever their format, the strip's
// scroll and wrap, the push-back and the Mode B shift, on a real 480x320 frame.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "CollisionDetection.h"
#include "KeyState.h"
#include "Map.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kClear = 0x141414;
constexpr Uint32 kBackdrop = 0x336699;  // something the map never draws
const std::string kSeparator(65, '_');

// Image i is solid (40 + 8i, 100, 60): the colour on screen says which image lies there.
Uint32 ImageColour(int i) { return (Uint32(40 + 8 * i) << 16) | (100 << 8) | 60; }
std::string ImageName(int i) { return "maps/m" + std::to_string(i) + ".bmp"; }

int ImageAt(SDL_Surface* screen, int x, int y) {
    const Uint32 p = GetPixel(screen, x, y);
    if ((p & 0xffff) != ((100 << 8) | 60)) return -1;
    return (int(p >> 16) - 40) / 8;
}

// A 32-bit BMP, open space on the left and wall on the right, alpha byte 0x80 throughout.
void WriteArgbBmp(const std::string& path) {
    const int w = 480, h = 320;
    std::string bmp = "BM";
    auto put = [&bmp](Uint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp += char((v >> (8 * i)) & 0xff);
    };
    put(54 + w * h * 4, 4), put(0, 4), put(54, 4);                  // file header
    put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(32, 2), put(0, 4);  // info header
    put(w * h * 4, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(x < w / 2 ? 0x80141414 : 0x809b9b9b, 4);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bmp.data(), 1, bmp.size(), f);
    std::fclose(f);
}

class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        mkdir("image", 0755);
        mkdir("image/mapImg", 0755);
        std::srand(7);
    }
    void WriteImages(int count) {
        for (int i = 0; i < count; ++i) {
            const Uint32 c = ImageColour(i);
            WriteSolidBmp(ImageName(i), 480, 320, c >> 16, (c >> 8) & 0xff, c & 0xff);
        }
    }
    void WriteList(const std::string& text) { dir.Write("image/mapImg/map.dat", text); }
    void WriteStandardList() {
        WriteImages(kMapCount);
        std::string list;
        for (int i = 0; i < kMapCount; ++i) list += ImageName(i) + (i % 3 ? " " : "\n\t");
        WriteList(list);
    }
    std::unique_ptr<Map> Build() {
        StartCapture();
        auto map = std::make_unique<Map>();
        out = StopCapture();
        return map;
    }
    void Clear(Uint32 raw = kClear) { FillRaw(screen(), 0, 0, 480, 320, raw); }
    SDL_Surface* screen() { return display.screen(); }
    void Frame(Map& map, int boost = 0) {
        Clear();
        map.ScrollDraw(screen(), &shipX, &shipY, boost);
    }

    ScratchDir dir;
    Display display;
    std::string out;
    int shipX = 0;
    int shipY = 154;
};

std::string OkLine(const std::string& name) {
    return "OK: MapFile [" + name + "] was successfully loaded.\n";
}
std::string ErrorLine(const std::string& name) {
    return "Error: [" + name + "] could not be loaded.\n";
}
const std::string kListOk = "OK: MapDataFile was successfully loaded.\n\n";

}  // namespace

TEST_F(MapTest, ListLoadsTwentyImagesWithTheirLinesAndTheSeparator) {
    WriteStandardList();
    auto map = Build();
    std::string expected = kListOk;
    for (int i = 0; i < kMapCount; ++i) expected += OkLine(ImageName(i));
    EXPECT_EQ(out, expected + kSeparator + "\n");
    for (SDL_Surface* image : map->mapImage) EXPECT_NE(image, nullptr);
    EXPECT_EQ(map->speed, 1);
    EXPECT_EQ(map->verticalStep, 5);
}

TEST_F(MapTest, MissingListLeavesEverySlotEmptyAndReadsNoName) {
    auto map = Build();
    EXPECT_EQ(out, "Error: MapDataFile could not be loaded.\n\n" + kSeparator + "\n");
    for (SDL_Surface* image : map->mapImage) EXPECT_EQ(image, nullptr);
    Clear(kBackdrop);
    map->ScrollDraw(screen(), &shipX, &shipY, 0);  // nothing to draw, nothing drawn
    EXPECT_EQ(GetPixel(screen(), 0, 0), kBackdrop);
    EXPECT_EQ(GetPixel(screen(), 479, 319), kBackdrop);
}

TEST_F(MapTest, ShortListLoadsItsLastNameIntoTheRemainingSlots) {
    WriteImages(3);
    WriteList(ImageName(0) + "\n" + ImageName(1) + "\n" + ImageName(2) + "\n\n");
    auto map = Build();
    std::string expected = kListOk + OkLine(ImageName(0)) + OkLine(ImageName(1));
    for (int i = 2; i < kMapCount; ++i) expected += OkLine(ImageName(2));
    EXPECT_EQ(out, expected + kSeparator + "\n");
    map->current = 19;  // draw slot 19 to see which picture it holds
    map->scroll = 1;
    Frame(*map);
    EXPECT_EQ(ImageAt(screen(), 0, 0), 2);
}

TEST_F(MapTest, ListWithoutNamesLeavesEverySlotEmptyWithAnErrorLineEach) {
    WriteList(" \n\t\n");
    auto map = Build();
    std::string expected = kListOk;
    for (int i = 0; i < kMapCount; ++i) expected += ErrorLine("");
    EXPECT_EQ(out, expected + kSeparator + "\n");
    for (SDL_Surface* image : map->mapImage) EXPECT_EQ(image, nullptr);
}

TEST_F(MapTest, OnlyTheFirstTwentyNamesAreRead) {
    WriteStandardList();
    WriteSolidBmp("maps/extra.bmp", 480, 320, 1, 2, 3);
    dir.Write("image/mapImg/map.dat", dir.Read("image/mapImg/map.dat") + " maps/extra.bmp");
    Build();
    EXPECT_EQ(out.find("extra"), std::string::npos);
}

// The 29-character cut of the long name is a real file here: loading it would be wrong.
TEST_F(MapTest, OverLongNameIsRefusedWholeAndItsTailIsNotTakenForTheNextName) {
    WriteImages(2);
    const std::string name29 = "maps/" + std::string(24, 'x');
    const std::string name40 = name29 + "yyyyyyyyyyy";
    WriteSolidBmp(name29, 480, 320, 9, 9, 9);
    WriteList(ImageName(0) + " " + name40 + " " + name29 + " " + ImageName(1) + " " + name40);
    auto map = Build();
    std::string expected = kListOk + OkLine(ImageName(0)) + ErrorLine(name29) + OkLine(name29) +
                           OkLine(ImageName(1));
    for (int i = 4; i < kMapCount; ++i) expected += ErrorLine(name29);
    EXPECT_EQ(out, expected + kSeparator + "\n");
    EXPECT_EQ(map->mapImage[1], nullptr);
    EXPECT_NE(map->mapImage[2], nullptr);  // exactly 29 characters is a whole name
    EXPECT_NE(map->mapImage[3], nullptr);
    for (int i = 4; i < kMapCount; ++i) EXPECT_EQ(map->mapImage[i], nullptr) << i;
}

TEST_F(MapTest, MissingImageLeavesItsSlotEmptyAndThatStretchUndrawn) {
    WriteImages(1);
    WriteList(ImageName(0) + " maps/none.bmp");
    auto map = Build();
    EXPECT_NE(out.find(ErrorLine("maps/none.bmp")), std::string::npos);
    map->current = 1;
    map->scroll = 1;
    Clear(kBackdrop);
    map->ScrollDraw(screen(), &shipX, &shipY, 0);
    EXPECT_EQ(GetPixel(screen(), 0, 0), kBackdrop);
}

// Converted to the display's format, open space is keyed and walls drawn opaque
// whatever the file held: 8-bit palette, 32-bit with alpha, tiny or huge.
TEST_F(MapTest, ImagesOfAnyFormatShowWallsAndLetOpenSpaceThrough) {
    SDL_Surface* pal = SDL_CreateRGBSurface(0, 480, 320, 8, 0, 0, 0, 0);
    SDL_Color colours[2] = {{20, 20, 20, 0}, {155, 155, 155, 0}};
    SDL_SetColors(pal, colours, 0, 2);
    SDL_Rect right{240, 0, 240, 320};
    SDL_FillRect(pal, &right, 1);
    WriteSurfaceBmp("maps/pal.bmp", pal);
    SDL_FreeSurface(pal);
    WriteArgbBmp("maps/argb.bmp");
    WriteSolidBmp("maps/tiny.bmp", 10, 10, 155, 155, 155);
    WriteSolidBmp("maps/huge.bmp", 4000, 4000, 155, 155, 155);
    WriteList("maps/pal.bmp maps/argb.bmp maps/tiny.bmp maps/huge.bmp");
    auto map = Build();
    const SDL_PixelFormat* shown = screen()->format;
    for (int slot = 0; slot < 4; ++slot) {
        const SDL_PixelFormat* held = map->mapImage[slot]->format;
        EXPECT_EQ(held->BitsPerPixel, shown->BitsPerPixel);  // converted once, at load
        EXPECT_EQ(held->Rmask, shown->Rmask);
        EXPECT_EQ(held->Amask, 0u);

        map->current = slot;
        map->next = slot;
        map->scroll = 1;
        map->pickNext = 0;
        Clear(kBackdrop);
        map->ScrollDraw(screen(), &shipX, &shipY, 1);
        SCOPED_TRACE(slot);
        if (slot < 2) {
            EXPECT_EQ(GetPixel(screen(), 100, 100), kBackdrop);
            EXPECT_EQ(GetPixel(screen(), 300, 100), kWallGrey);
        } else if (slot == 2) {
            EXPECT_EQ(GetPixel(screen(), 8, 9), kWallGrey);
            EXPECT_EQ(GetPixel(screen(), 9, 9), kBackdrop);  // scrolled by one: 9 columns
            EXPECT_EQ(GetPixel(screen(), 8, 10), kBackdrop);
        } else {
            EXPECT_EQ(GetPixel(screen(), 478, 319), kWallGrey);
        }
    }
}

TEST_F(MapTest, FirstFrameShowsImageZeroWithTheNextJustOffTheRightEdge) {
    WriteStandardList();
    auto map = Build();
    Frame(*map);
    EXPECT_NE(map->next, 0);
    EXPECT_EQ(map->curDst.x, 0);
    EXPECT_EQ(map->nextDst.x, 480);
    EXPECT_EQ(ImageAt(screen(), 0, 0), 0);
    EXPECT_EQ(ImageAt(screen(), 479, 319), 0);
    Frame(*map);  // image 0 at x = -1 (the blit clips curDst), the next at 479
    EXPECT_EQ(map->nextDst.x, 479);
    EXPECT_EQ(ImageAt(screen(), 478, 0), 0);
    EXPECT_EQ(ImageAt(screen(), 479, 0), map->next);
}

// At speed 7 an image is current for 69 frames; the wrap frame moves the strip only 4.
TEST_F(MapTest, WrapAtSpeedSevenComesOnFrameSeventyAndMovesTheStripByFour) {
    WriteStandardList();
    auto map = Build();
    map->speed = 7;
    for (int frame = 1; frame <= 69; ++frame) Frame(*map);
    const int incoming = map->next;
    EXPECT_EQ(map->current, 0);
    EXPECT_EQ(ImageAt(screen(), 3, 0), 0);
    EXPECT_EQ(ImageAt(screen(), 4, 0), incoming);
    Frame(*map);
    EXPECT_EQ(map->current, incoming);
    EXPECT_EQ(map->curDst.x, 0);
    EXPECT_EQ(map->nextDst.x, 480);
    EXPECT_EQ(ImageAt(screen(), 0, 0), incoming);
    EXPECT_EQ(map->scroll, 7);
}

TEST_F(MapTest, WrapPicksANextImageOtherThanTheCurrent) {
    WriteStandardList();
    auto map = Build();
    map->speed = 40;  // a wrap every 12 frames
    int wraps = 0;
    int previousNext = -1;
    for (int frame = 0; frame < 1200; ++frame) {
        const int before = map->current;
        Frame(*map);
        ASSERT_NE(map->current, map->next) << frame;
        ASSERT_EQ(ImageAt(screen(), 0, 0), map->current) << frame;
        if (frame > 0 && map->current != before) {
            ++wraps;
            EXPECT_EQ(map->current, previousNext) << frame;
            EXPECT_EQ(frame % 12, 0) << frame;
        }
        previousNext = map->next;
    }
    EXPECT_EQ(wraps, 99);
}

// Image 0 has a wall run at row 171, columns 89 to 100: the probe line right of a ship at
// (88, 160) meets its end, and would meet it again after each shove of 4.
class PushBack : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        WriteStandardList();
        SDL_Surface* walled = MakeSurface(480, 320, 20, 20, 20);
        FillRaw(walled, 89, 171, 12, 1, kWallGrey);
        WriteSurfaceBmp(ImageName(0), walled);
        SDL_FreeSurface(walled);
        shipX = 88;
        shipY = 160;
    }
};

TEST_F(PushBack, WallAtTheRightShovesTheShipOnceByExactlySpeed) {
    auto map = Build();
    map->speed = 4;
    Frame(*map);
    EXPECT_EQ(shipX, 84);
}

TEST_F(PushBack, NeverWhileBoosting) {
    auto map = Build();
    map->speed = 4;
    Frame(*map, 1);
    EXPECT_EQ(shipX, 88);
}

TEST_F(PushBack, NoWallNoShoveHoweverFast) {
    auto map = Build();
    map->speed = 300;
    shipY = 100;
    Frame(*map);
    EXPECT_EQ(shipX, 88);
}

// The test reads the frame after the blits: a wall the map image covers is gone.
TEST_F(PushBack, WallsCoveredByTheMapDoNotShove) {
    WriteSolidBmp(ImageName(0), 480, 320, 90, 90, 90);
    auto map = Build();
    Clear();
    FillRaw(screen(), 100, 160, 1, 12, kWallGrey);
    map->ScrollDraw(screen(), &shipX, &shipY, 0);
    EXPECT_EQ(shipX, 88);
}

// Mode B: a wall row above the ship at (100, 99); the line below is free.
TEST_F(MapTest, ModeBShiftsByFiveWithTheDirectionDecidedByTheProbeLine) {
    auto map = Build();
    struct Case {
        unsigned char keys;
        bool wallAbove;
        int boost, mode, shift;
    } cases[] = {
        {kKeyUp, false, 0, 1, +5},  {kKeyUp, true, 0, 1, -5},
        {kKeyDown, false, 0, 1, -5}, {kKeyUp | kKeyDown, false, 0, 1, 0},
        {kKeyUp | kKeyDown, true, 0, 1, -10}, {kKeyUp, false, 1, 1, 0},
        {kKeyUp | kKeyDown, true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Clear();
        if (c.wallAbove) FillRaw(screen(), 100, 99, 12, 1, kWallGrey);
        map->offsetY = 0;
        map->Move(screen(), c.keys, 100, 100, c.boost, c.mode);
        EXPECT_EQ(map->offsetY, c.shift) << int(c.keys) << c.wallAbove << c.boost << c.mode;
    }
    Clear();
    FillRaw(screen(), 100, 112, 12, 1, kWallBlack);
    map->offsetY = 0;
    map->Move(screen(), kKeyDown, 100, 100, 0, 1);
    EXPECT_EQ(map->offsetY, +5);
}

TEST_F(MapTest, OffsetReachesBothDestinationsOnlyAfterTheBlits) {
    WriteStandardList();
    auto map = Build();
    map->offsetY = 100;
    Frame(*map);
    EXPECT_EQ(ImageAt(screen(), 10, 0), 0);  // still drawn at the old y
    EXPECT_EQ(map->curDst.y, 100);
    EXPECT_EQ(map->nextDst.y, 100);
    Frame(*map);
    EXPECT_EQ(GetPixel(screen(), 10, 99), kClear);
    EXPECT_EQ(ImageAt(screen(), 10, 100), 0);
    map->offsetY = -50;
    Frame(*map);
    Frame(*map);  // the blit clipped at the top and rewrote the rectangles
    EXPECT_EQ(map->curDst.y, -50);
    EXPECT_EQ(map->nextDst.y, -50);
    EXPECT_EQ(ImageAt(screen(), 10, 269), 0);
    EXPECT_EQ(GetPixel(screen(), 10, 270), kClear);
}
