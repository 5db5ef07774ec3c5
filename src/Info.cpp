// Info: every number and status display, blitted from the sprite sheet — the round's
// HUD, the title's two records and the blinking record notice — and the energy gauge.
#include "Info.h"

#include "KeyState.h"
#include "Map.h"
#include "Screen.h"
#include "SpriteSheet.h"

namespace {

constexpr SDL_Rect kBar{sheet::kProgress.x, sheet::kProgress.y, 0, sheet::kProgress.h};  // width by value

constexpr Uint8 kPanelAlpha = 150;
constexpr Uint8 kNoticeAlpha = 225;  // the number and tail of the notice, steady
constexpr int kBlinkStep = 15;
constexpr int kBlinkTop = kNoticeAlpha - 1;  // the label turns back above this

// Five cells start at 10000, two at 10.
constexpr int kFiveCells = 5;
constexpr int kFiveDivisor = 10000;
constexpr int kTwoCells = 2;
constexpr int kTwoDivisor = 10;
constexpr int kDecimalBase = 10;

// Destination rectangles are copies: a blit may clip and rewrite them.
void Blit(SDL_Surface* sheet, SDL_Rect src, SDL_Surface* screen, SDL_Rect dst) {
    SDL_UpperBlit(sheet, &src, screen, &dst);
}

}  // namespace

Info::Info()
    : frameSrc(sheet::kHudFrame),
      frameDst(spot::kHudFrame),
      panelSrc(sheet::kHudPanel),
      panelDst(spot::kHudPanel),
      gaugeSrc(kBar),
      gaugeDst(spot::kGauge),
      digitSrc(sheet::kDigit),
      speedPos(spot::kSpeed),
      scorePos(spot::kScore),
      progressSrc(kBar),
      progressDst(spot::kProgress),
      recALabelSrc(sheet::kRecordLabelA),
      recALabelDst(spot::kRecordLabelA),
      recAPos(spot::kRecordA),
      recBLabelSrc(sheet::kRecordLabelB),
      recBLabelDst(spot::kRecordLabelB),
      recBPos(spot::kRecordB),
      noticeSrc(sheet::kRecordNotice),
      noticeDst(spot::kRecordNotice),
      noticeTailSrc(sheet::kNoticeTail),
      noticeTailDst(spot::kNoticeTail),
      noticePos(spot::kNoticeScore),
      blinkAlpha(0),
      blinkStep(kBlinkStep),
      gauge(0) {}

void Info::Draw(SDL_Surface* screen, SDL_Surface* sheet, int speed, int score, int mode) {
    gaugeSrc.y = mode == kModeB ? sheet::kGaugeB.y : sheet::kGaugeA.y;
    gaugeSrc.w = static_cast<Uint16>(gauge);
    // The part of the way to the next speed step, truncated, without the floating point.
    progressSrc.w = static_cast<Uint16>(score % kScorePerSpeedStep * sheet::kProgress.w / kScorePerSpeedStep);
    SDL_SetAlpha(sheet, SDL_SRCALPHA, kPanelAlpha);
    Blit(sheet, panelSrc, screen, panelDst);
    SDL_SetAlpha(sheet, SDL_SRCALPHA, kOpaque);
    Blit(sheet, frameSrc, screen, frameDst);
    drawNumber5(screen, sheet, scorePos.x, scorePos, score);
    Blit(sheet, gaugeSrc, screen, gaugeDst);
    Blit(sheet, progressSrc, screen, progressDst);
    drawNumber2(screen, sheet, speedPos.x, speedPos, speed);
}

// Takes the alpha the caller has set: the title fades the records in.
void Info::titleRec(SDL_Surface* screen, SDL_Surface* sheet, int recordA, int recordB) {
    Blit(sheet, recALabelSrc, screen, recALabelDst);
    drawNumber5(screen, sheet, recAPos.x, recAPos, recordA);
    Blit(sheet, recBLabelSrc, screen, recBLabelDst);
    drawNumber5(screen, sheet, recBPos.x, recBPos, recordB);
}

void Info::RecDraw(SDL_Surface* screen, SDL_Surface* sheet, int score) {
    AdvanceBlink();
    SDL_SetAlpha(sheet, SDL_SRCALPHA, static_cast<Uint8>(blinkAlpha));
    Blit(sheet, noticeSrc, screen, noticeDst);
    SDL_SetAlpha(sheet, SDL_SRCALPHA, kNoticeAlpha);
    drawNumber5(screen, sheet, noticePos.x, noticePos, score);
    Blit(sheet, noticeTailSrc, screen, noticeTailDst);
}

// 15, 30, ... 225, 210, ... 15, 0, 15, ...: a cycle of 30 calls.
void Info::AdvanceBlink() {
    blinkAlpha += blinkStep;
    if (blinkAlpha > kBlinkTop) blinkStep = -blinkStep;
    if (blinkAlpha < 1) blinkStep = -blinkStep;
}

void Info::drawNumber2(SDL_Surface* screen, SDL_Surface* sheet, int x, SDL_Rect rect, int number) {
    DrawDigits(screen, sheet, x, rect, number, kTwoCells, kTwoDivisor);
}

void Info::drawNumber5(SDL_Surface* screen, SDL_Surface* sheet, int x, SDL_Rect rect, int number) {
    DrawDigits(screen, sheet, x, rect, number, kFiveCells, kFiveDivisor);
}

// Most significant cell first, with leading zeros. A number too wide for its cells is
// not clamped: the first cell takes whatever lies right of the digits on the sheet.
void Info::DrawDigits(SDL_Surface* screen, SDL_Surface* sheet, int x, SDL_Rect rect, int number,
                      int cells, int divisor) {
    for (int i = 0; i < cells; ++i) {
        rect.x = static_cast<Sint16>(x + sheet::kDigit.w * i);
        digitSrc.x = static_cast<Sint16>(sheet::kDigit.w * (number / divisor));
        Blit(sheet, digitSrc, screen, rect);
        number %= divisor;
        divisor /= kDecimalBase;
    }
}
