// Game: the program's shared state for the whole run — the display surface, the sprite
// sheet, the two records and the flags that the title screen, the play round and the
// keyboard handler share — and the two screens, the title and the play round.
#pragma once
#include <SDL.h>
#include <cstdio>
#include <string>

#include "BackGround.h"
#include "CollisionDetection.h"
#include "FpsControl.h"
#include "Info.h"
#include "Item.h"
#include "KeyState.h"
#include "Map.h"
#include "Player.h"
#include "Tuning.h"

constexpr int kTrailLength = 19;  // Player 0 is the ship, 1..19 its trail
constexpr int kStarCount = 20;
constexpr int kItemCount = 3;

// The record file's format, in one place: the game reads, merges and writes it with these,
// and so does the browser page (web/records/higher_records.cpp).
constexpr const char* kRecordFormat = "%d\n%d\n";  // Mode A, then Mode B
// At most this much of Rec.dat is read: its two short lines are at its start, and a huge
// file must not hold up the title or a save.
constexpr size_t kRecordReadLimit = 64 * 1024;

// The two records in the first kRecordReadLimit bytes of a record file's text, Mode A
// first: each one whole line read as atoi reads it, after a UTF-8 byte-order mark. A line
// the text lacks repeats the value before it: Mode A's for Mode B, what `a` held for Mode
// A. Returns how many of the two lines the text has.
int ReadRecordText(const char* text, size_t size, int* a, int* b);

// Raises each of `a` and `b` to the record file text's record of that mode, when higher.
// False when the text holds no higher record (or none at all).
bool KeepHigherRecords(const char* text, size_t size, int* a, int* b);

// What one play round owns, in the order it is built (and so, reversed, destroyed).
struct Round {
    Player players[1 + kTrailLength];
    Map map;
    BackGround stars[kStarCount];
    Item items[kItemCount];
    CollisionDetection hit;
    KeyState keyState;
    Info info;
    FpsControl fps;
};

// What one title screen owns, in the order it is built.
struct TitleScene {
    Player dummy;  // lends its position to the map's push-back; never drawn
    Map map;
    BackGround stars[kStarCount];
    Info info;
    KeyState keyState;
    FpsControl fps;
};

class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;  // owns the display surface and the sprite sheet
    Game& operator=(const Game&) = delete;

    // False when start-up failed (no display surface or no sprite sheet).
    bool Ready() const { return screen != nullptr && material != nullptr; }

    // The main loop: the records before every round, the title when wanted, one round,
    // until the player quits; main's exit status (1: start-up failed). The game paces it
    // on SDL's clock, tests on their own.
    int RunGame(FpsControl::Clock clock = SDL_GetTicks, FpsControl::Sleep sleep = SDL_Delay);

    int GameInit();                // loads the records, resets the round state
    void Title();                  // the title screen, until a mode is chosen or quit
    void GameMain(int* showTitle); // one play round

    // One frame of each screen, without pacing: the loops above run these, and so
    // do the tests and benchmarks. TitleFrame returns true when the title is over;
    // RoundFrame returns true when the round has ended (records saved).
    bool TitleFrame(TitleScene& t);
    bool RoundFrame(Round& r, int* showTitle);

    // Record file.
    void LoadRecords();
    void SaveRecords();

    SDL_Surface* screen;
    SDL_Surface* material;
    SDL_PixelFormat* format;
    FILE* recordFile;
    int lastRecordLine;  // value of the last record line read: a line the file lacks repeats it
    int recordA;
    int recordB;
    int recordMissing;
    Uint32 backColor;
    Uint32 starColor;
    int mode;
    int boost;
    int regenCount;
    int regenInterval;
    int score;
    int gameOver;
    SDL_Rect logoSrc, logoDst;
    int titleAlpha;
    SDL_Rect modeASrc, modeADst;
    SDL_Rect modeBSrc, modeBDst;
    int roundEnd;
    int started;
    SDL_Rect overSrc, overDst;
    int overAlpha;
    SDL_Rect leftPromptSrc, leftPromptDst;
    SDL_Rect rightPromptSrc, rightPromptDst;
    SDL_Rect centrePromptSrc, centrePromptDst;
    int quit;

private:
    FpsControl::Clock pacingClock_ = SDL_GetTicks;  // what RunGame was given
    FpsControl::Sleep pacingSleep_ = SDL_Delay;

    // Steps of the round's frame and its rules, in the order RoundFrame runs them.
    void DrainBoost(Round& r);
    void ShiftTrail(Round& r);
    void DrawTrail(Round& r);
    void DrawStars(BackGround* stars, int speed);
    void DrawItems(Round& r);
    void RegenerateEnergy(Round& r);
    void AdvanceScore(Round& r);
    void PickUpItems(Round& r);
    void DrawRecordNotice(Round& r);
    void TestGameOver(Round& r);
    void SlideAndOverlay(Round& r);
    void EndRound(int* showTitle);

    bool ReplaceRecordFile(const std::string& target);
    bool AppendToRecordFile(const std::string& target);
    bool OverwriteRecordFile(const std::string& target);

    void DrawTitleImages();
    void SetSheetAlpha(int alpha);
    void Blit(SDL_Rect src, SDL_Rect dst);  // both by value: SDL rewrites the destination
};
