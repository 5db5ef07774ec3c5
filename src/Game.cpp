// Game: start-up and shut-down, the record file, the title screen and the play round.
// The round's frame order lives in RoundFrame, top to bottom, as the game runs it.
#include "Game.h"

#include <SDL_image.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "FullScreen.h"
#include "Gamepad.h"
#include "Platform.h"
#include "Screen.h"
#include "SpriteSheet.h"

namespace {

constexpr const char* kSheetPath = "image/material.bmp";
constexpr const char* kRecordPath = "./Rec.dat";
constexpr const char* kRecordTempStem = "Rec.dat.";  // then a process id and the suffix
constexpr const char* kRecordTempSuffix = ".tmp";
constexpr const char* kRecordOkLine = "OK: RecordFile was successfully loaded.";
constexpr const char* kRecordErrorLine = "Error: RecordFile could not be loaded.";
constexpr unsigned char kByteOrderMark[] = {0xEF, 0xBB, 0xBF};  // UTF-8, as editors may save

constexpr int kTrailAlphaStep = 5;       // trail image i is drawn at (20 - i) * 5

int CapGauge(int gauge) { return gauge > kGaugeMax - 1 ? kGaugeMax : gauge; }

}  // namespace

// ---------------------------------------------------------------- start-up, shut-down

Game::Game()
    : screen(nullptr), material(nullptr), format(nullptr), recordFile(nullptr), lastRecordLine(0),
      recordA(0), recordB(0), recordMissing(0), backColor(0), starColor(0), mode(kModeA),
      boost(0), regenCount(0), regenInterval(0), score(0), gameOver(0), logoSrc{}, logoDst{},
      titleAlpha(0), modeASrc{}, modeADst{}, modeBSrc{}, modeBDst{}, roundEnd(0), started(0),
      overSrc{}, overDst{}, overAlpha(0), leftPromptSrc{}, leftPromptDst{}, rightPromptSrc{},
      rightPromptDst{}, centrePromptSrc{}, centrePromptDst{}, quit(1) {
    srand(static_cast<unsigned>(time(nullptr)));
    rand();
    platform::KeepFreedMemoryForTheNextMap();

    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        printf("Error: %s\n", SDL_GetError());
        return;
    }
    platform::EndTheGameOnHangUp();
    SDL_WM_SetCaption("COMET DRIFTER", nullptr);
    screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenBpp, 0);
    if (!screen) {
        printf("Error: %s\n", SDL_GetError());
        return;
    }
    // Beyond the game: full screen when the launcher asks, and pads as keys.
    FullScreen::ShowWhenAsked(screen);
    Gamepad::Shared().OpenAll();

    material = IMG_Load(kSheetPath);
    if (!material) {
        puts("Error: MaterialFile could not be loaded.");
    } else {
        puts("OK: MaterialFile was successfully loaded.\n");
        SDL_SetColorKey(material, SDL_SRCCOLORKEY, 0);  // black is transparent on the sheet
    }

    format = screen->format;
    backColor = SDL_MapRGB(format, kClearLevel, kClearLevel, kClearLevel);
    starColor = SDL_MapRGB(format, 255, 255, 255);
    quit = 0;
}

Game::~Game() {
    if (screen) SDL_FreeSurface(screen);  // SDL keeps its display surface; SDL_Quit frees it
    if (material) SDL_FreeSurface(material);
    SDL_Quit();
}

int Game::GameInit() {
    LoadRecords();

    boost = 0;
    regenCount = 0;
    score = 0;
    gameOver = 0;
    roundEnd = kRoundGoesOn;
    quit = 0;
    overAlpha = 0;
    titleAlpha = 0;

    logoSrc = sheet::kLogo;
    logoDst = spot::kLogo;
    modeASrc = sheet::kModeA;
    modeADst = spot::kModeA;
    modeBSrc = sheet::kModeB;
    modeBDst = spot::kModeB;
    overSrc = sheet::kGameOver;
    overDst = spot::kGameOver;
    leftPromptSrc = sheet::kRetry;
    leftPromptDst = spot::kRetry;
    rightPromptSrc = sheet::kTitle;
    rightPromptDst = spot::kTitle;
    centrePromptSrc = sheet::kExit;
    centrePromptDst.x = spot::kExitX;  // its y belongs to the screen that draws it
    return 0;
}

// ---------------------------------------------------------------- record file

namespace {

// A record line's value as atoi reads text: white space, a sign, then the digits up to
// the first other character (no digits: 0). It takes one character at a time, so a line
// of any length is read without being kept; a number beyond int's range stops at its end,
// and a negative one reads as 0: no score is below it, and the HUD has no minus sign.
class RecordValue {
public:
    void Take(int c) {
        if (stage_ == kSpace && std::isspace(c)) return;
        if (stage_ == kSpace && (c == '-' || c == '+')) {
            negative_ = c == '-';
            stage_ = kDigits;
        } else if (stage_ != kDone && std::isdigit(c)) {
            stage_ = kDigits;
            magnitude_ = std::min(magnitude_ * 10 + (c - '0'), kPastInt);
        } else {
            stage_ = kDone;
        }
    }
    int Value() const {
        const long long value = negative_ ? -magnitude_ : magnitude_;
        return static_cast<int>(std::clamp<long long>(value, 0, INT_MAX));
    }

private:
    static constexpr long long kPastInt = -static_cast<long long>(INT_MIN);
    enum Stage { kSpace, kDigits, kDone } stage_ = kSpace;
    bool negative_ = false;
    long long magnitude_ = 0;
};

// One whole line from `at`, up to its line feed or the end of the text; a CR before the
// line feed and blanks around the number fall outside the number. False, and `value`
// kept, when the text ended before the line began.
bool ReadRecordLine(const char*& at, const char* end, int* value) {
    if (at == end) return false;
    RecordValue line;
    for (; at != end && *at != '\n'; ++at) line.Take(static_cast<unsigned char>(*at));
    if (at != end) ++at;  // past the line feed
    *value = line.Value();
    return true;
}

// The start of `file`, as much of it as a record file's text is ever read.
std::string ReadRecordBytes(FILE* file) {
    std::string bytes(kRecordReadLimit, '\0');
    bytes.resize(fread(&bytes[0], 1, bytes.size(), file));
    return bytes;
}

// The file a save must change: Rec.dat itself or, when Rec.dat is a symbolic link, the
// file the link points to, so that the link stays and its file gets the records.
std::string RecordTarget() { return platform::FollowLinks(kRecordPath); }

// A FIFO, a device, a socket or a folder is no record file: it is never opened (opening
// a FIFO waits for a writer) and never replaced.
bool IsRecordFileOrNothing(const std::string& target) { return platform::IsAbsentOrRegular(target); }

}  // namespace

int ReadRecordText(const char* text, size_t size, int* a, int* b) {
    const char* at = text;
    const char* end = text + std::min(size, kRecordReadLimit);
    const bool marked = end - at >= static_cast<std::ptrdiff_t>(sizeof kByteOrderMark) &&
                        std::memcmp(at, kByteOrderMark, sizeof kByteOrderMark) == 0;
    if (marked) at += sizeof kByteOrderMark;
    const int found = ReadRecordLine(at, end, a) ? 1 : 0;
    *b = *a;
    return ReadRecordLine(at, end, b) ? found + 1 : found;
}

bool KeepHigherRecords(const char* text, size_t size, int* a, int* b) {
    int theirA = 0, theirB = 0;
    if (ReadRecordText(text, size, &theirA, &theirB) == 0) return false;
    const bool higher = theirA > *a || theirB > *b;
    *a = std::max(*a, theirA);
    *b = std::max(*b, theirB);
    return higher;
}

void Game::LoadRecords() {
    recordFile = IsRecordFileOrNothing(RecordTarget()) ? fopen(kRecordPath, "r") : nullptr;
    if (!recordFile) {
        recordMissing = 1;
        recordB = 0;
        recordA = 0;
    } else {
        recordMissing = 0;
        puts(kRecordOkLine);
    }
    putchar('\n');
    if (!recordFile) return;

    recordA = lastRecordLine;
    const std::string text = ReadRecordBytes(recordFile);
    ReadRecordText(text.data(), text.size(), &recordA, &recordB);
    lastRecordLine = recordB;
    fclose(recordFile);
    recordFile = nullptr;
    printf("ModeA Rec: %d\nModeB Rec: %d\n\n", recordA, recordB);
}

namespace {

// How a save writes Rec.dat, decided once before anything is written.
enum class RecordWrite {
    kRefused,  // read-only (the player's choice) or no regular file: left alone
    kAppend,   // Rec.dat exists but could not be read: appended to, as it always was
    kReplace,  // a whole new file beside it, renamed over it: a kill mid-save loses nothing
    kInPlace,  // no file can be made beside it (a read-only folder): written over where it is
};

// Beside the file, named by the process so that two instances saving at once never share
// it, and short whatever the file's own name (Rec.dat may link to a name near the file
// system's limit, which a suffix would pass).
std::string RecordTempPath(const std::string& target) {
    return platform::FolderOf(target) + "/" + kRecordTempStem + std::to_string(platform::ProcessId()) +
           kRecordTempSuffix;
}

RecordWrite ChooseRecordWrite(const std::string& target, bool unreadable) {
    if (!IsRecordFileOrNothing(target)) return RecordWrite::kRefused;
    const bool exists = access(target.c_str(), F_OK) == 0;
    if (exists && access(target.c_str(), W_OK) != 0) return RecordWrite::kRefused;
    if (exists && unreadable) return RecordWrite::kAppend;
    const bool roomBeside = platform::CanMakeFilesIn(platform::FolderOf(target)) &&
                            platform::IsAbsentOrRegular(RecordTempPath(target));
    return roomBeside ? RecordWrite::kReplace : RecordWrite::kInPlace;
}

// Another instance of the game may have saved a higher record since this one loaded the
// file: each mode keeps the higher of the two, so a save never lowers a record on disk.
// False when the file cannot be read (or is not there).
bool TakeHigherRecordsFrom(const std::string& target, int* recordA, int* recordB) {
    FILE* file = IsRecordFileOrNothing(target) ? fopen(target.c_str(), "r") : nullptr;
    if (!file) return false;
    const std::string text = ReadRecordBytes(file);
    fclose(file);
    KeepHigherRecords(text.data(), text.size(), recordA, recordB);
    return true;
}

// What a write does after the records: nothing more, cut the file after them (written
// over an older, maybe longer text), or wait until they are on the disk.
enum class AfterWrite { kNothing, kCut, kToDisk };

// Writes both records and closes the file; false when any step failed.
bool WriteRecordsAndClose(FILE* file, int recordA, int recordB, AfterWrite after) {
    bool written = fprintf(file, kRecordFormat, recordA, recordB) > 0;
    written = fflush(file) == 0 && written;
    if (after == AfterWrite::kCut) written = written && platform::CutFileAt(file, ftell(file));
    if (after == AfterWrite::kToDisk) written = platform::FlushToDisk(file) && written;
    return fclose(file) == 0 && written;
}

}  // namespace

// The replacement is written beside the file it replaces, with that file's permission
// bits, and renamed over it only once it is whole on disk.
bool Game::ReplaceRecordFile(const std::string& target) {
    const std::string temp = RecordTempPath(target);
    recordFile = fopen(temp.c_str(), "w");
    if (!recordFile) return false;
    platform::CopyPermissionBits(recordFile, target);
    const bool written = WriteRecordsAndClose(recordFile, recordA, recordB, AfterWrite::kToDisk);
    recordFile = nullptr;
    if (written && platform::ReplaceFile(temp, target)) return true;
    remove(temp.c_str());
    return false;
}

bool Game::AppendToRecordFile(const std::string& target) {
    recordFile = fopen(target.c_str(), "a");
    if (!recordFile) return false;
    const bool written = WriteRecordsAndClose(recordFile, recordA, recordB, AfterWrite::kNothing);
    recordFile = nullptr;
    return written;
}

// Written over the old text, never emptied first, and cut after the new one: a write that
// fails (a full disk, a file size limit) leaves the old records.
bool Game::OverwriteRecordFile(const std::string& target) {
    recordFile = fopen(target.c_str(), access(target.c_str(), F_OK) == 0 ? "r+" : "w");
    if (!recordFile) return false;
    const bool written = WriteRecordsAndClose(recordFile, recordA, recordB, AfterWrite::kCut);
    recordFile = nullptr;
    return written;
}

// The records in memory become the ones written, so this instance too knows the best.
void Game::SaveRecords() {
    if (mode == kModeA && score > recordA) recordA = score;
    if (mode == kModeB && score > recordB) recordB = score;

    const std::string target = RecordTarget();
    platform::HoldSaveLock(target);  // instances closed together save one after another
    const bool readable = TakeHigherRecordsFrom(target, &recordA, &recordB);
    bool saved = false;
    switch (ChooseRecordWrite(target, recordMissing && !readable)) {
    case RecordWrite::kRefused: break;
    case RecordWrite::kAppend: saved = AppendToRecordFile(target); break;
    case RecordWrite::kReplace: saved = ReplaceRecordFile(target); break;
    case RecordWrite::kInPlace: saved = OverwriteRecordFile(target); break;
    }
    platform::ReleaseSaveLock();
    puts(saved ? kRecordOkLine : kRecordErrorLine);
}

// ---------------------------------------------------------------- main loop

int Game::RunGame(FpsControl::Clock clock, FpsControl::Sleep sleep) {
    if (!Ready()) return 1;  // no window or no sprites: nothing can be played
    pacingClock_ = clock;
    pacingSleep_ = sleep;
    int showTitle = 1;
    for (;;) {
        if (GameInit() == -1) {  // never today: no step of it can fail
            puts("Error: GameInit Failed.");
            break;
        }
        if (showTitle) {
            showTitle = 0;
            Title();
            if (quit) break;
        }
        GameMain(&showTitle);
        if (quit) break;
    }
    return 0;
}

// ---------------------------------------------------------------- title screen

void Game::Title() {
    TitleScene t;
    t.fps = FpsControl(pacingClock_, pacingSleep_);
    started = 0;
    while (!TitleFrame(t)) t.fps.FpsWait();
}

bool Game::TitleFrame(TitleScene& t) {
    t.keyState.Key(t.keyState.event, &boost, gameOver, &roundEnd, &quit, &started, &mode);
    SDL_FillRect(screen, nullptr, backColor);
    SetSheetAlpha(kOpaque);
    t.map.speed = 1;  // the title's cave never speeds up
    t.map.ScrollDraw(screen, &t.dummy.x, &t.dummy.y, boost);
    DrawStars(t.stars, t.map.speed);
    centrePromptDst.y = spot::kExitOnTitleY;
    titleAlpha = FadeIn(titleAlpha);
    SetSheetAlpha(titleAlpha);
    DrawTitleImages();
    t.info.titleRec(screen, material, recordA, recordB);  // fades in with the rest
    SDL_Flip(screen);
    return started != 0;
}

void Game::DrawTitleImages() {
    Blit(logoSrc, logoDst);
    Blit(modeASrc, modeADst);
    Blit(modeBSrc, modeBDst);
    Blit(centrePromptSrc, centrePromptDst);
}

// ---------------------------------------------------------------- play round

void Game::GameMain(int* showTitle) {
    Round r;
    r.fps = FpsControl(pacingClock_, pacingSleep_);
    while (!quit) {
        if (RoundFrame(r, showTitle)) return;  // the last frame is not paced
        r.fps.FpsWait();
        r.fps.FpsDisplay();
    }
}

// One frame of a round. Walls are read back from the frame as drawn so far, so the
// order below decides what the ship can collide with.
bool Game::RoundFrame(Round& r, int* showTitle) {
    Player& ship = r.players[0];

    r.keyState.Key(r.keyState.event, &boost, gameOver, &roundEnd, &quit, &started, &mode);
    DrainBoost(r);
    SDL_FillRect(screen, nullptr, backColor);
    SetSheetAlpha(kOpaque);
    ShiftTrail(r);
    DrawTrail(r);
    r.map.ScrollDraw(screen, &ship.x, &ship.y, boost);  // may shove the ship left
    r.map.Move(screen, r.keyState.keys, ship.x, ship.y, boost, mode);
    DrawStars(r.stars, r.map.speed);
    SetSheetAlpha(kOpaque);
    DrawItems(r);
    SetSheetAlpha(kOpaque);
    ship.Draw(screen, material, mode);
    ship.Move(screen, r.keyState.keys, boost, mode);  // sees everything drawn above

    RegenerateEnergy(r);
    AdvanceScore(r);
    PickUpItems(r);
    DrawRecordNotice(r);
    TestGameOver(r);
    SlideAndOverlay(r);

    r.info.Draw(screen, material, r.map.speed, score, mode);
    SDL_Flip(screen);

    if (roundEnd == kRoundGoesOn) return false;
    EndRound(showTitle);
    return true;
}

// In the frame the gauge runs out, ship and trail still wear the boost look while the
// rest of the frame runs without boost.
void Game::DrainBoost(Round& r) {
    const int look = boost == 1 ? 1 : 0;
    if (boost == 1) r.info.gauge -= kBoostCost;
    for (Player& p : r.players) p.state = look;
    if (boost == 1 && r.info.gauge < 1) {
        r.info.gauge = 0;
        boost = 0;
    }
}

void Game::ShiftTrail(Round& r) {
    for (int i = kTrailLength; i >= 1; --i) {
        r.players[i].x = r.players[i - 1].x;
        r.players[i].y = r.players[i - 1].y;
    }
}

void Game::DrawTrail(Round& r) {
    for (int i = 1; i <= kTrailLength; ++i) {
        SetSheetAlpha((kTrailLength + 1 - i) * kTrailAlphaStep);
        r.players[i].Draw(screen, material, mode);
    }
}

void Game::DrawStars(BackGround* stars, int speed) {
    for (int i = 0; i < kStarCount; ++i) {
        stars[i].Draw(screen, starColor);
        stars[i].Move(speed);
    }
}

void Game::DrawItems(Round& r) {
    for (Item& item : r.items) {
        item.Draw(screen, material, gameOver, mode);  // sets the sheet's alpha to its own
        item.Move();
    }
}

void Game::RegenerateEnergy(Round& r) {
    if (gameOver != 0) return;
    ++regenCount;
    regenInterval = kRegenBase - kRegenPerSpeed * r.map.speed;
    if (regenInterval <= kRegenFastest) regenInterval = kRegenFastest;
    if (regenCount >= regenInterval) {
        r.info.gauge = CapGauge(r.info.gauge + 1);
        regenCount = 0;
    }
}

void Game::AdvanceScore(Round& r) {
    if (gameOver != 0) return;
    ++score;
    if (score % kScorePerSpeedStep == 0) ++r.map.speed;
}

// Only an item that has fully faded in can be picked up.
void Game::PickUpItems(Round& r) {
    const Player& ship = r.players[0];
    for (Item& item : r.items) {
        if (!r.hit.PlayerAndItem(ship.x, ship.y, item.pos.x, item.pos.y)) continue;
        if (item.alpha != kOpaque) continue;
        r.info.gauge = CapGauge(r.info.gauge + kGaugePerItem);
        item.alpha = 0;
        item.Init();
    }
}

void Game::DrawRecordNotice(Round& r) {
    const bool beatsA = mode == kModeA && score > recordA;
    const bool beatsB = mode == kModeB && score > recordB;
    if (beatsA || beatsB) r.info.RecDraw(screen, material, score);
}

void Game::TestGameOver(Round& r) {
    const Sint16 curY = r.map.curDst.y;
    const Sint16 nextY = r.map.nextDst.y;
    const bool offLeft = r.players[0].x < kLeftCrashX;
    const bool shiftedOut = curY > kShiftCrash || curY < -kShiftCrash || nextY > kShiftCrash ||
                            nextY < -kShiftCrash;
    if (offLeft || shiftedOut) gameOver = 1;
}

void Game::SlideAndOverlay(Round& r) {
    if (gameOver != 1) return;
    r.players[0].x -= kSlideAfterCrash;
    overAlpha = FadeIn(overAlpha);
    centrePromptDst.y = spot::kExitOnGameOverY;
    SetSheetAlpha(overAlpha);
    Blit(overSrc, overDst);
    Blit(leftPromptSrc, leftPromptDst);
    Blit(rightPromptSrc, rightPromptDst);
    Blit(centrePromptSrc, centrePromptDst);
}

void Game::EndRound(int* showTitle) {
    SaveRecords();
    if (roundEnd == kRoundTitle) *showTitle = 1;
}

// ---------------------------------------------------------------- drawing helpers

void Game::SetSheetAlpha(int alpha) {
    SDL_SetAlpha(material, SDL_SRCALPHA, static_cast<Uint8>(alpha));
}

void Game::Blit(SDL_Rect src, SDL_Rect dst) { SDL_UpperBlit(material, &src, screen, &dst); }
