// Info: digit cells, bar widths and the record notice's blink, read back from a frame
// drawn from a test sheet whose cells each have a colour of their own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "CollisionDetection.h"
#include "Info.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr Uint32 kClear = 0x141414;
constexpr Uint32 kBeyond = 0xf010f0;  // the digit row right of the ten digits
constexpr Uint32 kGaugeA = 0x10f010;
constexpr Uint32 kGaugeB = 0x1010f0;
constexpr Uint32 kProgress = 0xf0f010;
constexpr Uint32 kNotice = 0xf08080;

// Digit d's cell is (30 + 20 d, 200, 40).
Uint32 DigitColour(int d) { return (Uint32(30 + 20 * d) << 16) | (200 << 8) | 40; }

// Blits may differ by one between SDL builds: compare with a margin.
bool Near(Uint32 a, Uint32 b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > 2) return false;
    return true;
}

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetColorKey(sheet, SDL_SRCCOLORKEY, 0);
        for (int d = 0; d < 10; ++d) FillRaw(sheet, 12 * d, 64, 12, 10, DigitColour(d));
        FillRaw(sheet, 120, 64, 353, 10, kBeyond);
        FillRaw(sheet, 12, 0, 36, 8, kProgress);
        FillRaw(sheet, 12, 8, 89, 8, kGaugeA);
        FillRaw(sheet, 12, 16, 89, 8, kGaugeB);
        FillRaw(sheet, 207, 52, 75, 10, kNotice);
        Clear();
    }
    void TearDown() override { SDL_FreeSurface(sheet); }
    void Clear() { FillRaw(screen(), 0, 0, 480, 320, kClear); }
    SDL_Surface* screen() { return display.screen(); }

    // The digits of `cells` cells from (x, y) ('?' unknown, '#' the sheet beyond the digits),
    // even drawn translucent over the clear colour: the green channel (200 in every cell)
    // tells how much of the cell shows through.
    std::string Digits(int x, int y, int cells) {
        std::string s;
        for (int i = 0; i < cells; ++i) {
            const Uint32 p = GetPixel(screen(), x + 12 * i + 5, y + 5);
            const int green = (p >> 8) & 0xff, red = p >> 16;
            const long d = green < 60 ? -1 : std::lround(((red - 20) * 180.0 / (green - 20) - 10) / 20);
            s += Near(p, kBeyond) ? '#' : d >= 0 && d <= 9 ? char('0' + d) : '?';
        }
        return s;
    }
    int RunOf(Uint32 colour, int x, int y) {
        int n = 0;
        while (Near(GetPixel(screen(), x + n, y), colour)) ++n;
        return n;
    }

    Display display;
    SDL_Surface* sheet = MakeSurface(473, 309, 0, 0, 0);
    Info info;
};

}  // namespace

// Leading zeros fill the cells; a number too wide for them shows the sheet beyond the digits.
TEST_F(Hud, ScoreAndSpeedShowInTheirDigitCells) {
    const struct {
        int speed, score;
        const char *scoreCells, *speedCells;
    } cases[] = {{1, 0, "00000", "01"}, {17, 40729, "40729", "17"}, {100, 123456, "#3456", "#0"}};
    for (const auto& c : cases) {
        info.Draw(screen(), sheet, c.speed, c.score, 0);
        EXPECT_EQ(Digits(14, 15, 5), c.scoreCells);
        EXPECT_EQ(Digits(85, 30, 2), c.speedCells);
    }
    EXPECT_EQ(sheet->format->alpha, 255);
}

// Progress: a pixel about every 28 points, empty again every 1000. Gauge: as wide as the
// gauge, in the colour of the mode.
TEST_F(Hud, BarsAreAsWideAsProgressAndGauge) {
    const struct {
        int score, gauge, mode, progress, gaugeA, gaugeB;
    } cases[] = {{27, 0, 0, 0, 0, 0},    {28, 89, 0, 1, 89, 0},  {999, 1, 0, 35, 1, 0},
                 {1000, 40, 1, 0, 0, 40}, {2028, 0, 1, 1, 0, 0}, {1500, 89, 1, 18, 0, 89}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "score " << c.score << " gauge " << c.gauge << " mode " << c.mode);
        Clear();
        info.gauge = c.gauge;
        info.Draw(screen(), sheet, 1, c.score, c.mode);
        EXPECT_EQ(RunOf(kProgress, 16, 31), c.progress);
        EXPECT_EQ(RunOf(kProgress, 16, 38), c.progress);
        EXPECT_EQ(RunOf(kGaugeA, 16, 47), c.gaugeA);
        EXPECT_EQ(RunOf(kGaugeB, 16, 54), c.gaugeB);
    }
}

TEST_F(Hud, TitleRecordsUseTheCallersAlpha) {
    SDL_SetAlpha(sheet, SDL_SRCALPHA, 255);
    info.titleRec(screen(), sheet, 0, 31415);
    EXPECT_EQ(Digits(41, 232, 5), "00000");
    EXPECT_EQ(Digits(367, 232, 5), "31415");
    SDL_SetAlpha(sheet, SDL_SRCALPHA, 60);
    Clear();
    info.titleRec(screen(), sheet, 99999, 99999);
    EXPECT_EQ(sheet->format->alpha, 60);
    const Uint32 red = GetPixel(screen(), 46, 237) >> 16;
    EXPECT_GT(red, 0x14u);
    EXPECT_LT(red, 0xd0u);  // faded, not the full digit colour
}

// The label blinks 15, 30, ... 225, 210, ... 0 over 30 calls; the number stays at 225.
TEST_F(Hud, RecordNoticeBlinksOnAThirtyCallCycle) {
    int brightness[31];
    for (int call = 1; call <= 30; ++call) {
        Clear();
        info.RecDraw(screen(), sheet, 1234);
        brightness[call] = int(GetPixel(screen(), 230, 55) >> 16);
        EXPECT_EQ(sheet->format->alpha, 225);
        EXPECT_EQ(Digits(207, 66, 5), "01234");
    }
    EXPECT_EQ(info.blinkAlpha, 0);
    for (int call = 2; call <= 15; ++call) EXPECT_GT(brightness[call], brightness[call - 1]);
    for (int call = 16; call <= 30; ++call) EXPECT_LT(brightness[call], brightness[call - 1]);
    EXPECT_LE(brightness[30], 0x14 + 1);  // alpha 0: invisible this frame
    info.RecDraw(screen(), sheet, 1234);
    EXPECT_EQ(info.blinkAlpha, 15);
}
