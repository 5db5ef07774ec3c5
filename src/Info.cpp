// Info: every number and status display, blitted from the sprite sheet — the round's
// HUD, the title's two records and the blinking record notice — and the energy gauge.
#include "Info.h"

#include "KeyState.h"

namespace {

// Where each element lies on the sprite sheet, and where it goes on the screen.
constexpr SDL_Rect kFrameSrc{102, 0, 104, 64};
constexpr SDL_Rect kFrameDst{10, 0, 0, 0};
constexpr SDL_Rect kPanelSrc{206, 0, 102, 51};
constexpr SDL_Rect kPanelDst{11, 12, 0, 0};
constexpr SDL_Rect kGaugeSrc{12, 0, 0, 8};  // y by mode, width the gauge
constexpr SDL_Rect kGaugeDst{16, 47, 0, 0};
constexpr SDL_Rect kDigitSrc{0, 64, kDigitWidth, 10};  // digit d starts at x = 12 d
constexpr SDL_Rect kSpeedPos{85, 30, 0, 0};
constexpr SDL_Rect kScorePos{14, 15, 0, 0};
constexpr SDL_Rect kProgressSrc{12, 0, 0, 8};  // width grows with the score
constexpr SDL_Rect kProgressDst{16, 31, 0, 0};
constexpr SDL_Rect kRecALabelSrc{308, 0, 165, 15};
constexpr SDL_Rect kRecALabelDst{29, 227, 0, 0};
constexpr SDL_Rect kRecAPos{41, 232, 0, 0};
constexpr SDL_Rect kRecBLabelSrc{308, 15, 145, 15};
constexpr SDL_Rect kRecBLabelDst{308, 227, 0, 0};
constexpr SDL_Rect kRecBPos{367, 232, 0, 0};
constexpr SDL_Rect kNoticeSrc{207, 52, 75, 10};
constexpr SDL_Rect kNoticeDst{211, 51, 0, 0};
constexpr SDL_Rect kNoticeTailSrc{169, 15, 26, 10};
constexpr SDL_Rect kNoticeTailDst{267, 66, 0, 0};
constexpr SDL_Rect kNoticePos{207, 66, 0, 0};

constexpr int kGaugeRowA = 8;
constexpr int kGaugeRowB = 16;
constexpr int kProgressWidth = 36;   // a full step of 1000 points would fill 36 pixels
constexpr int kSpeedStep = 1000;     // score points between speed steps

constexpr Uint8 kPanelAlpha = 150;
constexpr Uint8 kOpaque = 255;
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
    : frameSrc(kFrameSrc),
      frameDst(kFrameDst),
      panelSrc(kPanelSrc),
      panelDst(kPanelDst),
      gaugeSrc(kGaugeSrc),
      gaugeDst(kGaugeDst),
      digitSrc(kDigitSrc),
      speedPos(kSpeedPos),
      scorePos(kScorePos),
      progressSrc(kProgressSrc),
      progressDst(kProgressDst),
      recALabelSrc(kRecALabelSrc),
      recALabelDst(kRecALabelDst),
      recAPos(kRecAPos),
      recBLabelSrc(kRecBLabelSrc),
      recBLabelDst(kRecBLabelDst),
      recBPos(kRecBPos),
      noticeSrc(kNoticeSrc),
      noticeDst(kNoticeDst),
      noticeTailSrc(kNoticeTailSrc),
      noticeTailDst(kNoticeTailDst),
      noticePos(kNoticePos),
      blinkAlpha(0),
      blinkStep(kBlinkStep),
      gauge(0) {}

void Info::Draw(SDL_Surface* screen, SDL_Surface* sheet, int speed, int score, int mode) {
    gaugeSrc.y = static_cast<Sint16>(mode == kModeB ? kGaugeRowB : kGaugeRowA);
    gaugeSrc.w = static_cast<Uint16>(gauge);
    // Same as (score mod 1000) / 1000 x 36 truncated, without the floating point.
    progressSrc.w = static_cast<Uint16>(score % kSpeedStep * kProgressWidth / kSpeedStep);
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
        rect.x = static_cast<Sint16>(x + kDigitWidth * i);
        digitSrc.x = static_cast<Sint16>(kDigitWidth * (number / divisor));
        Blit(sheet, digitSrc, screen, rect);
        number %= divisor;
        divisor /= kDecimalBase;
    }
}
