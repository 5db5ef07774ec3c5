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
constexpr int kDigitNone = -1, kDigitBeyond = 10;

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

    // Which digit cell lies at (x, y), even drawn translucent over the clear colour: the
    // green channel (200 in every cell) tells how much of the cell shows through.
    int DigitAt(int x, int y) {
        const Uint32 p = GetPixel(screen(), x + 5, y + 5);
        if (Near(p, kBeyond)) return kDigitBeyond;
        const int green = (p >> 8) & 0xff, red = p >> 16;
        if (green < 60) return kDigitNone;
        const double shown = (green - 20) / 180.0;
        const long d = std::lround(((red - 20) / shown + 20 - 30) / 20);
        return d >= 0 && d <= 9 ? int(d) : kDigitNone;
    }
    // The digits of `cells` cells starting at (x, y), as a string ('?' unknown, '#' beyond).
    std::string Digits(int x, int y, int cells) {
        std::string s;
        for (int i = 0; i < cells; ++i) {
            const int d = DigitAt(x + 12 * i, y);
            s += d == kDigitNone ? '?' : d == kDigitBeyond ? '#' : char('0' + d);
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

TEST_F(Hud, ScoreAndSpeedShowWithLeadingZeros) {
    info.Draw(screen(), sheet, 1, 0, 0);
    EXPECT_EQ(Digits(14, 15, 5), "00000");
    EXPECT_EQ(Digits(85, 30, 2), "01");
    info.Draw(screen(), sheet, 17, 40729, 0);
    EXPECT_EQ(Digits(14, 15, 5), "40729");
    EXPECT_EQ(Digits(85, 30, 2), "17");
    EXPECT_EQ(sheet->format->alpha, 255);
}

TEST_F(Hud, NumbersTooWideForTheirCellsShowTheSheetBeyondTheDigits) {
    info.Draw(screen(), sheet, 100, 123456, 0);
    EXPECT_EQ(Digits(14, 15, 5), "#3456");
    EXPECT_EQ(Digits(85, 30, 2), "#0");
}

TEST_F(Hud, ProgressBarGrowsAPixelAbout28PointsAndEmptiesEvery1000) {
    const int score[] = {27, 28, 999, 1000, 2028, 1500};
    const int width[] = {0, 1, 35, 0, 1, 18};
    for (int i = 0; i < 6; ++i) {
        Clear();
        info.Draw(screen(), sheet, 1, score[i], 0);
        EXPECT_EQ(RunOf(kProgress, 16, 31), width[i]) << score[i];
        EXPECT_EQ(RunOf(kProgress, 16, 38), width[i]) << score[i];
    }
}

TEST_F(Hud, GaugeBarIsAsWideAsTheGaugeInTheColourOfTheMode) {
    info.gauge = 0;
    info.Draw(screen(), sheet, 1, 0, 0);
    EXPECT_EQ(RunOf(kGaugeA, 16, 47), 0);
    info.gauge = 89;
    info.Draw(screen(), sheet, 1, 0, 0);
    EXPECT_EQ(RunOf(kGaugeA, 16, 47), 89);
    info.gauge = 40;
    Clear();
    info.Draw(screen(), sheet, 1, 0, 1);
    EXPECT_EQ(RunOf(kGaugeB, 16, 54), 40);
    EXPECT_EQ(RunOf(kGaugeA, 16, 47), 0);
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
