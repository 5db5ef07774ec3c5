// Map: the map list and its console lines, and the images whatever their format, on a
// real 480x320 frame. The scroll, wrap, push-back and Mode B shift are held by the golden
// frames.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "CollisionDetection.h"
#include "KeyState.h"
#include "Map.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kBackdrop = 0x336699;  // something the map never draws
const std::string kSeparator(65, '_');
const std::string kListOk = "OK: MapDataFile was successfully loaded.\n\n";

// Image i is solid (40 + 8i, 100, 60): the colour on screen says which image lies there.
Uint32 ImageColour(int i) { return (Uint32(40 + 8 * i) << 16) | (100 << 8) | 60; }
std::string ImageName(int i) { return "maps/m" + std::to_string(i) + ".bmp"; }

int ImageAt(SDL_Surface* screen, int x, int y) {
    const Uint32 p = GetPixel(screen, x, y);
    if ((p & 0xffff) != ((100 << 8) | 60)) return -1;
    return (int(p >> 16) - 40) / 8;
}

std::string Ok(const std::string& name) { return "OK: MapFile [" + name + "] was successfully loaded.\n"; }
std::string Error(const std::string& name) { return "Error: [" + name + "] could not be loaded.\n"; }
std::string Times(int n, const std::string& s) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
}

class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        mkdir("image", 0755);
        mkdir("image/mapImg", 0755);
        std::srand(7);
    }
    void WriteImages(int count) {
        for (int i = 0; i < count; ++i) WriteSolidBmp(ImageName(i), 480, 320, ImageColour(i));
    }
    void WriteList(const std::string& text) { dir.Write("image/mapImg/map.dat", text); }
    std::string StandardList() {
        std::string list;
        for (int i = 0; i < kMapCount; ++i) list += ImageName(i) + (i % 3 ? " " : "\n\t");
        return list;
    }
    std::unique_ptr<Map> Build() {
        StartCapture();
        auto map = std::make_unique<Map>();
        out = StopCapture();
        return map;
    }
    SDL_Surface* screen() { return display.screen(); }
    void Frame(Map& map, int boost = 0, Uint32 backdrop = kClearRaw) {
        FillRaw(screen(), 0, 0, 480, 320, backdrop);
        map.ScrollDraw(screen(), &shipX, &shipY, boost);
    }
    // Draws `slot` alone over the backdrop.
    void DrawSlot(Map& map, int slot) {
        map.current = map.next = slot;
        map.scroll = 1;
        map.pickNext = 0;
        Frame(map, 1, kBackdrop);
    }

    ScratchDir dir;
    Display display;
    std::string out;
    int shipX = 0;
    int shipY = 154;
};

}  // namespace

// Each slot's picture is shown as a letter: 'a' + image, '-' for an empty slot that draws
// nothing. The 29-character cut of the long name is a real file (image 25, 'z') here:
// loading it for the long name would be wrong.
TEST_F(MapTest, ListFillsEachSlotWithItsImageOrLeavesItEmptyWithTheGamesLines) {
    WriteImages(kMapCount);
    const std::string name29 = "maps/" + std::string(24, 'x'), name40 = name29 + "yyyyyyyyyyy";
    WriteSolidBmp(name29, 480, 320, ImageColour(25));
    WriteSolidBmp("maps/tiny.bmp", 10, 10, ImageColour(3));
    WriteSolidBmp("maps/huge.bmp", 4000, 4000, ImageColour(4));
    std::string allOk = kListOk;
    for (int i = 0; i < kMapCount; ++i) allOk += Ok(ImageName(i));
    const struct {
        const char* what;
        bool listed;
        std::string list, lines, slots;
    } cases[] = {
        {"missing list", false, "", "Error: MapDataFile could not be loaded.\n\n", std::string(20, '-')},
        {"no names", true, " \n\t\n", kListOk + Times(20, Error("")), std::string(20, '-')},
        {"a folder for a list", false, "", kListOk + Times(20, Error("")), std::string(20, '-')},
        {"images of any size", true, "maps/tiny.bmp maps/huge.bmp", kListOk + Ok("maps/tiny.bmp") + Times(19, Ok("maps/huge.bmp")),
         "d" + std::string(19, 'e')},
        {"three names, the last fills the rest", true, "maps/m0.bmp\nmaps/m1.bmp\nmaps/m2.bmp\n\n",
         kListOk + Ok(ImageName(0)) + Ok(ImageName(1)) + Times(18, Ok(ImageName(2))), "ab" + std::string(18, 'c')},
        {"twenty-one names, the first twenty read", true, StandardList() + " maps/extra.bmp", allOk,
         "abcdefghijklmnopqrst"},
        {"over-long names refused whole", true, "maps/m0.bmp " + name40 + " " + name29 + " maps/m1.bmp " + name40,
         kListOk + Ok(ImageName(0)) + Error(name29) + Ok(name29) + Ok(ImageName(1)) + Times(16, Error(name29)),
         "a-zb" + std::string(16, '-')},
        {"missing image", true, "maps/m0.bmp maps/none.bmp",
         kListOk + Ok(ImageName(0)) + Times(19, Error("maps/none.bmp")), "a" + std::string(19, '-')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::system("rm -rf image/mapImg/map.dat");
        if (c.listed) WriteList(c.list);
        if (std::string(c.what) == "a folder for a list") mkdir("image/mapImg/map.dat", 0755);
        auto map = Build();
        EXPECT_EQ(out, c.lines + kSeparator + "\n");
        std::string slots;
        for (int slot = 0; slot < kMapCount; ++slot) {
            DrawSlot(*map, slot);
            const int image = ImageAt(screen(), 0, 0);
            slots += image < 0 ? '-' : char('a' + image);
            EXPECT_TRUE(image >= 0 || GetPixel(screen(), 479, 319) == kBackdrop) << "empty slot " << slot << " drew";
        }
        EXPECT_EQ(slots, c.slots);
    }
}

// An 8-bit palette image, or a 32-bit one with half-transparent alpha, is converted once to
// the display's format: open space is keyed and walls drawn opaque whatever the file held.
TEST_F(MapTest, ImagesOfAnyFormatShowWallsAndLetOpenSpaceThrough) {
    SDL_Surface* pal = SDL_CreateRGBSurface(0, 480, 320, 8, 0, 0, 0, 0);
    SDL_Color colours[2] = {{155, 155, 155, 0}, {20, 20, 20, 0}};  // the clear colour is not index 0
    SDL_SetColors(pal, colours, 0, 2);
    SDL_Rect left{0, 0, 240, 320};
    SDL_FillRect(pal, &left, 1);
    WriteSurfaceBmp("maps/pal.bmp", pal);
    SDL_FreeSurface(pal);
    ASSERT_EQ(std::system("convert -size 240x320 'xc:rgba(20,20,20,0.5)' 'xc:rgba(155,155,155,0.5)' +append "
                          "PNG32:maps/argb.png"), 0);
    WriteList("maps/pal.bmp maps/argb.png");
    auto map = Build();
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_EQ(map->mapImage[slot]->format->BitsPerPixel, screen()->format->BitsPerPixel) << slot;
        DrawSlot(*map, slot);
        EXPECT_EQ(GetPixel(screen(), 100, 100), kBackdrop) << slot;
        EXPECT_EQ(GetPixel(screen(), 300, 100), kWallGrey) << slot;
    }
}

