// Damaged data files against the whole game. Each case breaks one thing a player could
// break (Rec.dat, the map list, a map image, the sprite sheet) in a scratch folder, then
// runs the real program to its title and quits it, and runs the game's own code through
// start-up, the title and a round that Escape ends, which saves the records. Nothing may
// crash, the console must say what went wrong in the game's own lines, and a valid
// Rec.dat is never emptied, shortened or lowered.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "Game.h"
#include "GameProcess.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr double kStartSeconds = 60;      // generous: the sanitizer build starts slowly
constexpr useconds_t kTitleTime = 400000; // let the title draw a few dozen frames
constexpr int kTitleFrames = 10;
constexpr int kRoundFrames = 29;          // then the Escape frame: a score of 30
constexpr uid_t kNobody = 65534;

const std::string kSeparator(65, '_');
const std::string kSheetOk = "OK: MaterialFile was successfully loaded.\n\n";
const std::string kSheetError = "Error: MaterialFile could not be loaded.\n";
const std::string kListOk = "OK: MapDataFile was successfully loaded.\n\n";
const std::string kListError = "Error: MapDataFile could not be loaded.\n\n";
const std::string kRecordOk = "OK: RecordFile was successfully loaded.";
const std::string kRecordError = "Error: RecordFile could not be loaded.";
const std::string kGoodRecords = "5000\n6000\n";  // above any score a test round reaches
const std::string kUnchanged = "<unchanged>";
const std::string kMissing = "<missing>";
const std::string kFolder = "<folder>";

// The record lines of a start-up that could read Rec.dat, between the sheet and the list.
std::string RecordsShown(int a, int b) {
    return kSheetOk + kRecordOk + "\n\nModeA Rec: " + std::to_string(a) +
           "\nModeB Rec: " + std::to_string(b) + "\n\n" + kListOk;
}
// ... and of one that could not: only the empty line.
std::string NoRecordsShown() { return kSheetOk + "\n" + kListOk; }

std::string MapOk(const std::string& name) {
    return "OK: MapFile [" + name + "] was successfully loaded.\n";
}
std::string MapError(const std::string& name) {
    return "Error: [" + name + "] could not be loaded.\n";
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::string Cave(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "caves/cave%02d.bmp", i);
    return name;
}

// The map list: the given names first, then the game's own caves up to twenty.
void WriteList(const std::vector<std::string>& first) {
    std::ofstream list("image/mapImg/map.dat");
    int written = 0;
    for (const std::string& name : first) {
        list << name << "\n";
        ++written;
    }
    for (int i = 1; written < kMapCount; ++i, ++written) list << Cave(i) << "\n";
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A working folder as the build lays it out: the real sprite sheet, the twenty real caves
// (linked, never copied: the folder is made for every case) and a valid Rec.dat.
void LayGoodWorld(const ScratchDir& dir) {
    mkdir("image", 0755);
    mkdir("image/mapImg", 0755);
    std::ifstream sheet(COMET_BUILD_DIR "/image/material.bmp", std::ios::binary);
    std::ofstream("image/material.bmp", std::ios::binary) << sheet.rdbuf();
    if (symlink(COMET_BUILD_DIR "/image/mapImg", "caves") != 0) ADD_FAILURE() << "no caves";
    WriteList({});
    dir.Write("Rec.dat", kGoodRecords);
    chmod(dir.path().c_str(), 0755);  // an unprivileged game must get in
}

// What Rec.dat is on disk, as text, or a marker when it is no regular file.
std::string RecordFileState() {
    struct stat st;
    if (stat("Rec.dat", &st) != 0) return kMissing;
    if (S_ISDIR(st.st_mode)) return kFolder;
    std::ifstream in("Rec.dat", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Two lines as the save writes them, short enough to be read back as they are (a line
// read takes six characters, the line feed included); fills a and b.
bool ValidRecords(const std::string& text, long* a = nullptr, long* b = nullptr) {
    static const std::regex twoLines("(-?[0-9]{1,5})\n(-?[0-9]{1,5})\n");
    std::smatch m;
    if (!std::regex_match(text, m, twoLines) || m[1].length() > 5 || m[2].length() > 5)
        return false;
    if (a) *a = std::stol(m[1]);
    if (b) *b = std::stol(m[2]);
    return true;
}

bool SanitizerSpoke(const std::string& console) {
    return console.find("Sanitizer") != std::string::npos ||
           console.find("runtime error:") != std::string::npos;
}

struct Outcome {
    std::string console;
    bool exited = false;
    int code = -1;
    int signal = 0;
};

// The real program: to the title and quit from there (no save), or to its own end when
// start-up is expected to fail.
Outcome RunProgram(const ScratchDir& dir, bool unprivileged, bool reachesTitle) {
    GameProcess game(dir.path(), unprivileged);
    if (reachesTitle && game.WaitFor(kSeparator, kStartSeconds)) {
        usleep(kTitleTime);
        game.RequestQuit();
    }
    game.WaitForExit(kStartSeconds);
    return {game.output(), game.exitedNormally(), game.exitCode(), game.signal()};
}

// The game's own code as main runs it up to the first round's end: start-up, the records,
// a title that the a key ends, and a round that Escape ends, which saves.
int PlayOneRound() {
    Game game;
    if (!game.Ready()) return 1;  // main's answer to a failed start-up
    game.GameInit();
    {
        TitleScene title;
        game.started = 0;
        PushKey(SDL_KEYDOWN, SDLK_a);
        for (int i = 0; i < kTitleFrames && !game.TitleFrame(title); ++i) {
        }
        if (!game.started) return 3;
    }
    Round round;
    int showTitle = 0;
    for (int i = 0; i < kRoundFrames; ++i)
        if (game.RoundFrame(round, &showTitle)) return 4;
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    if (!game.RoundFrame(round, &showTitle)) return 5;
    return game.quit ? 0 : 6;
}

// PlayOneRound in a child process with the console in a file, so a crash is seen as a
// signal and the test goes on. The child may drop to an unprivileged user.
Outcome PlayOneRoundInChild(const ScratchDir& dir, bool unprivileged) {
    FILE* log = std::tmpfile();
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fileno(log), 1);
        dup2(fileno(log), 2);
        setvbuf(stdout, nullptr, _IOLBF, 0);
        if (chdir(dir.path().c_str()) != 0) _exit(120);
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(121);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        const int code = PlayOneRound();
        std::fflush(stdout);
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    Outcome out;
    out.exited = WIFEXITED(status);
    out.code = out.exited ? WEXITSTATUS(status) : -1;
    out.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    std::rewind(log);
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, log)) > 0;) out.console.append(buf, n);
    std::fclose(log);
    return out;
}

std::string LastLine(const std::string& console) {
    const size_t end = console.size() && console.back() == '\n' ? console.size() - 1 : 0;
    const size_t start = console.rfind('\n', end ? end - 1 : 0);
    return console.substr(start == std::string::npos ? 0 : start + 1, end - start - 1);
}

// One damaged input and what the game must make of it.
struct Damage {
    using Counts = std::vector<std::pair<std::string, int>>;
    Damage(const char* name_, std::function<void(const ScratchDir&)> apply_,
           std::vector<std::string> says_, std::vector<std::string> neverSays_ = {},
           Counts titleCounts_ = {}, std::string savedRecords_ = kUnchanged,
           std::string saveLine_ = kRecordOk, bool unprivileged_ = false, bool starts_ = true)
        : name(name_), apply(std::move(apply_)), says(std::move(says_)),
          neverSays(std::move(neverSays_)), titleCounts(std::move(titleCounts_)),
          savedRecords(std::move(savedRecords_)), saveLine(std::move(saveLine_)),
          unprivileged(unprivileged_), starts(starts_) {}

    const char* name;
    std::function<void(const ScratchDir&)> apply;  // in the scratch folder, after LayGoodWorld
    std::vector<std::string> says;                 // the console of both runs holds these
    std::vector<std::string> neverSays;
    Counts titleCounts;                            // times a line appears at the title
    std::string savedRecords;                      // Rec.dat after the round
    std::string saveLine;                          // the round's last console line
    bool unprivileged;
    bool starts;                                   // false: no sprite sheet, start-up ends
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

class DamagedInput : public ::testing::TestWithParam<Damage> {
protected:
    ScratchDir dir;

    void ExpectNoCrash(const Outcome& run, const char* which) {
        EXPECT_TRUE(run.exited) << which << " died by signal " << run.signal << "\n"
                                << run.console;
        EXPECT_EQ(run.code, GetParam().starts ? 0 : 1) << which << "\n" << run.console;
        EXPECT_FALSE(SanitizerSpoke(run.console)) << which << "\n" << run.console;
    }
    void ExpectLines(const std::string& console, const char* which) {
        for (const std::string& line : GetParam().says)
            EXPECT_NE(console.find(line), std::string::npos)
                << which << " should say:\n" << line << "\n--- console:\n" << console;
        for (const std::string& line : GetParam().neverSays)
            EXPECT_EQ(console.find(line), std::string::npos)
                << which << " should not say:\n" << line << "\n--- console:\n" << console;
    }
};

TEST_P(DamagedInput, NoCrashTheGameSaysWhatWentWrongAndNoRecordIsLost) {
    const Damage& damage = GetParam();
    LayGoodWorld(dir);
    damage.apply(dir);
    const std::string recordsBefore = RecordFileState();

    const Outcome program = RunProgram(dir, damage.unprivileged, damage.starts);
    ExpectNoCrash(program, "the program");
    ExpectLines(program.console, "the program");
    for (const auto& [line, times] : damage.titleCounts)
        EXPECT_EQ(Count(program.console, line), times) << line << "\n" << program.console;
    EXPECT_EQ(RecordFileState(), recordsBefore) << "quitting from the title saves nothing";

    const Outcome round = PlayOneRoundInChild(dir, damage.unprivileged);
    ExpectNoCrash(round, "the round");
    ExpectLines(round.console, "the round");
    const std::string recordsAfter = RecordFileState();
    EXPECT_EQ(recordsAfter, damage.savedRecords == kUnchanged ? recordsBefore : damage.savedRecords)
        << round.console;
    if (damage.starts) {
        EXPECT_EQ(LastLine(round.console), damage.saveLine) << round.console;
    }

    // A valid file is rewritten with records no lower, or (unreadable) appended to.
    long a0, b0, a1, b1;
    if (ValidRecords(recordsBefore, &a0, &b0)) {
        if (ValidRecords(recordsAfter, &a1, &b1)) {
            EXPECT_GE(a1, a0);
            EXPECT_GE(b1, b0);
        } else {
            EXPECT_EQ(recordsAfter.rfind(recordsBefore, 0), 0u) << "a valid Rec.dat was damaged";
        }
    }
    struct stat st;
    EXPECT_FALSE(stat("Rec.dat.tmp", &st) == 0 && S_ISREG(st.st_mode))
        << "no temporary file is left behind";
}

std::string DamageName(const ::testing::TestParamInfo<Damage>& info) { return info.param.name; }

// ---------------------------------------------------------------- Rec.dat

void SetRecords(const std::string& text) { WriteText("Rec.dat", text); }

const Damage kRecordDamage[] = {
    {"Missing", [](const ScratchDir&) { std::remove("Rec.dat"); }, {NoRecordsShown()}, {},
     {}, "30\n0\n"},
    {"Empty", [](const ScratchDir&) { SetRecords(""); }, {RecordsShown(0, 0)}, {}, {},
     "30\n0\n"},
    {"OneLine", [](const ScratchDir&) { SetRecords("123\n"); }, {RecordsShown(123, 123)}, {},
     {}, "123\n123\n"},
    {"LinesLongerThanSixCharacters", [](const ScratchDir&) { SetRecords("1234567\n89\n"); },
     {RecordsShown(123456, 7)}, {}, {}, "123456\n7\n"},
    {"Negative", [](const ScratchDir&) { SetRecords("-5\n-7\n"); }, {RecordsShown(-5, -7)},
     {}, {}, "30\n-7\n"},
    {"GarbageBytes",
     [](const ScratchDir&) { SetRecords(std::string("\x01\xff\0zz\n\x80\x90\xfe 12", 13)); },
     {RecordsShown(0, 0)}, {}, {}, "30\n0\n"},
    // A folder opens for reading but yields no line; it cannot be replaced by the save.
    {"AFolder",
     [](const ScratchDir&) {
         std::remove("Rec.dat");
         mkdir("Rec.dat", 0755);
     },
     {RecordsShown(0, 0)}, {}, {}, kFolder, kRecordError},
    {"Unreadable",
     [](const ScratchDir& d) {
         chmod("Rec.dat", 0222);
         chmod(d.path().c_str(), 0777);
     },
     {NoRecordsShown()}, {}, {}, kGoodRecords + "30\n0\n", kRecordOk, true},
    {"Unwritable",
     [](const ScratchDir& d) {
         SetRecords("10\n20\n");
         chmod("Rec.dat", 0444);
         chmod(d.path().c_str(), 0777);
     },
     {RecordsShown(10, 20)}, {}, {}, "10\n20\n", kRecordError, true},
    {"InAReadOnlyFolder",
     [](const ScratchDir& d) {
         SetRecords("10\n20\n");
         chmod("Rec.dat", 0666);
         chmod(d.path().c_str(), 0555);
     },
     {RecordsShown(10, 20)}, {}, {}, "30\n20\n", kRecordOk, true},
    {"MissingInAReadOnlyFolder",
     [](const ScratchDir& d) {
         std::remove("Rec.dat");
         chmod(d.path().c_str(), 0555);
     },
     {NoRecordsShown()}, {}, {}, kMissing, kRecordError, true},
    {"LeftoverTemporaryFileOfAKilledSave",
     [](const ScratchDir&) { WriteText("Rec.dat.tmp", "1\n"); }, {RecordsShown(5000, 6000)},
     {}, {}, kGoodRecords},
    {"TemporaryFileNameTakenByAFolder",
     [](const ScratchDir&) {
         SetRecords("10\n20\n");
         mkdir("Rec.dat.tmp", 0755);
     },
     {RecordsShown(10, 20)}, {}, {}, "30\n20\n"},
};

INSTANTIATE_TEST_SUITE_P(RecordFile, DamagedInput, ::testing::ValuesIn(kRecordDamage),
                         DamageName);

// ---------------------------------------------------------------- map list and images

// A 32-bit BMP with an alpha byte of 0x80: open space on the left half, wall on the right.
void WriteArgbBmp(const std::string& path) {
    const int w = 480, h = 320;
    std::string bmp = "BM";
    auto put = [&bmp](Uint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp += char((v >> (8 * i)) & 0xff);
    };
    put(54 + w * h * 4, 4), put(0, 4), put(54, 4);
    put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(32, 2), put(0, 4);
    put(w * h * 4, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(x < w / 2 ? 0x80141414 : 0x809b9b9b, 4);
    WriteText(path, bmp);
}

void WritePaletteBmp(const std::string& path) {
    SDL_Surface* pal = SDL_CreateRGBSurface(0, 480, 320, 8, 0, 0, 0, 0);
    SDL_Color colours[2] = {{20, 20, 20, 0}, {155, 155, 155, 0}};
    SDL_SetColors(pal, colours, 0, 2);
    SDL_Rect right{240, 0, 240, 320};
    SDL_FillRect(pal, &right, 1);
    WriteSurfaceBmp(path, pal);
    SDL_FreeSurface(pal);
}

const std::string kLongName = "abcdefghijklmnopqrstuvwxyz0123456789.bmp";  // 40 characters
const std::string kLongNameCut = kLongName.substr(0, kMapNameMax);

const Damage kMapDamage[] = {
    {"ListMissing", [](const ScratchDir&) { std::remove("image/mapImg/map.dat"); },
     {kSheetOk + kRecordOk, kListError + kSeparator}, {"MapFile [", "Error: ["}},
    {"ListEmpty", [](const ScratchDir&) { WriteText("image/mapImg/map.dat", ""); },
     {kListOk + MapError("")}, {"MapFile ["}, {{MapError(""), 20}}},
    {"ListIsAFolder",
     [](const ScratchDir&) {
         std::remove("image/mapImg/map.dat");
         mkdir("image/mapImg/map.dat", 0755);
     },
     {MapError("")}, {"MapFile ["}, {{MapError(""), 20}}},
    {"ThreeNames",
     [](const ScratchDir&) { WriteText("image/mapImg/map.dat", Cave(1) + " " + Cave(2) + "\t" + Cave(3)); },
     {kListOk + MapOk(Cave(1)) + MapOk(Cave(2)) + MapOk(Cave(3))}, {},
     {{MapOk(Cave(3)), 18}, {"MapFile [", 20}}},
    {"TwentyFiveNames",
     [](const ScratchDir&) {
         std::ofstream list("image/mapImg/map.dat");
         for (int i = 1; i <= 20; ++i) list << Cave(i) << " ";
         for (int i = 21; i <= 25; ++i) list << "caves/extra" << i << ".bmp ";
     },
     {MapOk(Cave(20)) + kSeparator}, {"extra"}, {{"MapFile [", 20}}},
    // A file of the over-long name and one of its first 29 characters both exist: the
    // name is refused whole rather than cut to the wrong file, and its tail is no name.
    {"FortyCharacterName",
     [](const ScratchDir&) {
         WriteSolidBmp(kLongName, 480, 320, 20, 20, 20);
         WriteSolidBmp(kLongNameCut, 480, 320, 20, 20, 20);
         WriteList({kLongName});
     },
     {kListOk + MapError(kLongNameCut) + MapOk(Cave(1))}, {MapOk(kLongNameCut), "3456789"},
     {{"MapFile [", 19}}},
    {"NameOfAMissingFile", [](const ScratchDir&) { WriteList({"caves/none.bmp"}); },
     {kListOk + MapError("caves/none.bmp")}, {}, {{"MapFile [", 19}}},
    {"NameOfATextFile",
     [](const ScratchDir&) {
         WriteText("notes.bmp", "these are not pixels\n");
         WriteList({"notes.bmp"});
     },
     {kListOk + MapError("notes.bmp")}, {}, {{"MapFile [", 19}}},
    {"NameOfATenByTenImage",
     [](const ScratchDir&) {
         WriteSolidBmp("tiny.bmp", 10, 10, 155, 155, 155);
         WriteList({"tiny.bmp"});
     },
     {kListOk + MapOk("tiny.bmp")}, {}, {{"MapFile [", 20}}},
    {"NameOfA4000By4000Image",
     [](const ScratchDir&) {
         WriteSolidBmp("huge.bmp", 4000, 4000, 20, 20, 20);
         WriteList({"huge.bmp"});
     },
     {kListOk + MapOk("huge.bmp")}, {}, {{"MapFile [", 20}}},
    {"NameOfAnEightBitPaletteImage",
     [](const ScratchDir&) {
         WritePaletteBmp("palette.bmp");
         WriteList({"palette.bmp"});
     },
     {kListOk + MapOk("palette.bmp")}, {}, {{"MapFile [", 20}}},
    {"NameOfA32BitImageWithAlpha",
     [](const ScratchDir&) {
         WriteArgbBmp("argb.bmp");
         WriteList({"argb.bmp"});
     },
     {kListOk + MapOk("argb.bmp")}, {}, {{"MapFile [", 20}}},
};

INSTANTIATE_TEST_SUITE_P(MapList, DamagedInput, ::testing::ValuesIn(kMapDamage), DamageName);

// ---------------------------------------------------------------- sprite sheet

void TruncateSheet(long bytes) {
    if (truncate("image/material.bmp", bytes) != 0) ADD_FAILURE() << "cannot truncate";
}

const Damage kSheetDamage[] = {
    {"Missing", [](const ScratchDir&) { std::remove("image/material.bmp"); }, {kSheetError},
     {"MapDataFile", "RecordFile"}, {}, kUnchanged, kRecordOk, false, false},
    {"TruncatedToItsHeader", [](const ScratchDir&) { TruncateSheet(54); }, {kSheetError},
     {"MapDataFile", "RecordFile"}, {}, kUnchanged, kRecordOk, false, false},
    {"TruncatedToHalf",
     [](const ScratchDir&) {
         struct stat st;
         stat("image/material.bmp", &st);
         TruncateSheet(st.st_size / 2);
     },
     {kSheetError}, {"MapDataFile", "RecordFile"}, {}, kUnchanged, kRecordOk, false, false},
    // Every sprite but the top-left ones lies outside: SDL clips each blit to the sheet.
    {"HundredByHundred",
     [](const ScratchDir&) { WriteSolidBmp("image/material.bmp", 100, 100, 200, 60, 60); },
     {RecordsShown(5000, 6000)}, {}, {{"MapFile [", 20}}},
};

INSTANTIATE_TEST_SUITE_P(SpriteSheet, DamagedInput, ::testing::ValuesIn(kSheetDamage),
                         DamageName);

// ---------------------------------------------------------------- killed while saving

constexpr int kKills = 40;
constexpr int kMaxKillDelayUs = 20000;

// The round's end again and again in a child: load the records, beat Mode A by one, save.
// With `fresh`, Rec.dat is removed before each round, so every save is a first save.
// One byte on `ready` once the first save is done.
[[noreturn]] void SaveForever(int ready, bool fresh) {
    if (!std::freopen("/dev/null", "w", stdout)) _exit(120);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Game game;
    if (!game.Ready()) _exit(121);
    for (bool first = true;; first = false) {
        if (fresh) std::remove("Rec.dat");
        game.GameInit();
        game.mode = kModeA;
        game.score = game.recordA + 1;
        game.SaveRecords();
        if (first && write(ready, "x", 1) != 1) _exit(122);
    }
}

// Starts SaveForever, kills it with SIGKILL at a random moment once it is saving.
void KillWhileSaving(bool fresh) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        SaveForever(pipeFds[1], fresh);
    }
    close(pipeFds[1]);
    char byte;
    const bool saving = read(pipeFds[0], &byte, 1) == 1;
    close(pipeFds[0]);
    usleep(std::rand() % kMaxKillDelayUs);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(saving) << "the saving child ended with status " << status;
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

TEST(KilledWhileSaving, RecDatAlwaysHoldsTwoValidLinesAndNeverLosesARecord) {
    ScratchDir dir;
    WriteTestSheet();
    dir.Write("Rec.dat", "100\n777\n");
    std::srand(12345);
    long lastA = 100;
    int tempLeft = 0;
    for (int i = 0; i < kKills; ++i) {
        ASSERT_NO_FATAL_FAILURE(KillWhileSaving(false));
        const std::string now = RecordFileState();
        long a = 0, b = 0;
        ASSERT_TRUE(ValidRecords(now, &a, &b)) << "after kill " << i << ": [" << now << "]";
        EXPECT_GE(a, lastA) << "after kill " << i;
        EXPECT_EQ(b, 777) << "after kill " << i;
        lastA = a;
        if (access("Rec.dat.tmp", F_OK) == 0) ++tempLeft;
    }
    EXPECT_GT(lastA, 100 + kKills) << "the child saved at least once per run";
    std::printf("%d kills, Mode A record rose to %ld, %d kills left a temporary file\n", kKills,
                lastA, tempLeft);
}

TEST(KilledWhileSaving, FirstSaveLeavesNoFileOrTwoValidLines) {
    ScratchDir dir;
    WriteTestSheet();
    std::srand(54321);
    int made = 0;
    int tempLeft = 0;
    for (int i = 0; i < kKills; ++i) {
        ASSERT_NO_FATAL_FAILURE(KillWhileSaving(true));
        if (access("Rec.dat.tmp", F_OK) == 0) ++tempLeft;
        const std::string now = RecordFileState();
        if (now == kMissing) continue;
        ++made;
        ASSERT_TRUE(ValidRecords(now)) << "after kill " << i << ": [" << now << "]";
    }
    std::printf("%d kills: %d left Rec.dat, %d left a temporary file\n", kKills, made, tempLeft);
}

}  // namespace
