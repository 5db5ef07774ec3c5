// What only the real program on a real disk can show: Rec.dat as a folder, unreadable,
// unwritable or in a read-only folder, a damaged sprite sheet, and the program killed
// while it saves. Each damage case breaks one thing in a scratch folder, runs the real
// program to its title and quits it, and runs the game's own code through start-up, the
// title and a round that Escape ends, which saves. Nothing may crash, the console says
// what went wrong in the game's own lines, and a valid Rec.dat is never lost. (What each
// shape of Rec.dat or of the map list reads as is tested in records_test and map_test.)
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
#include <vector>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kTimeoutTicks = 2400;       // of 50 ms: the sanitizer build starts slowly
constexpr useconds_t kTitleTime = 400000; // let the title draw a few dozen frames
constexpr int kRoundFrames = 29;          // then the Escape frame: a score of 30
constexpr uid_t kNobody = 65534;

const std::string kSeparator = std::string(65, '_') + "\n";
const std::string kSheetOk = "OK: MaterialFile was successfully loaded.\n\n";
const std::string kSheetError = "Error: MaterialFile could not be loaded.\n";
const std::string kRecordOk = "OK: RecordFile was successfully loaded.";
const std::string kRecordError = "Error: RecordFile could not be loaded.";
const std::string kGoodRecords = "5000\n6000\n";  // above any score a test round reaches
const std::string kUnchanged = "<unchanged>";
const std::string kMissing = "<missing>";
const std::string kFolder = "<folder>";

std::string Cave(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "caves/cave%02d.bmp", i);
    return name;
}
std::string MapOk(const std::string& name) {
    return "OK: MapFile [" + name + "] was successfully loaded.\n";
}

// The console of a start-up up to its title: the records it read ("\n" alone when it
// could not read Rec.dat), then the map lines: `first`, then the game's own caves.
std::string Records(int a, int b) {
    return kRecordOk + "\n\nModeA Rec: " + std::to_string(a) + "\nModeB Rec: " +
           std::to_string(b) + "\n\n";
}
std::string Start(const std::string& records) {
    std::string lines = kSheetOk + records + "OK: MapDataFile was successfully loaded.\n\n";
    for (int i = 1; i <= kMapCount; ++i) lines += MapOk(Cave(i));
    return lines + kSeparator;
}
const std::string kGoodStart = Start(Records(5000, 6000));

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void WriteList() {
    std::ofstream list("image/mapImg/map.dat");
    for (int i = 1; i <= kMapCount; ++i) list << Cave(i) << "\n";
}

// A working folder as the build lays it out: the real sprite sheet, the twenty real caves
// (linked, never copied: the folder is made for every case) and a valid Rec.dat.
void LayGoodWorld() {
    mkdir("image", 0755);
    mkdir("image/mapImg", 0755);
    std::ifstream sheet(COMET_BUILD_DIR "/image/material.bmp", std::ios::binary);
    std::ofstream("image/material.bmp", std::ios::binary) << sheet.rdbuf();
    if (symlink(COMET_BUILD_DIR "/image/mapImg", "caves") != 0) ADD_FAILURE() << "no caves";
    WriteList();
    WriteText("Rec.dat", kGoodRecords);
    chmod(".", 0755);  // an unprivileged game must get in
}

// Rec.dat as `text` (or missing, or a folder) with the file's and the folder's modes.
std::function<void()> Rec(const std::string& text, mode_t file = 0644, mode_t folder = 0755) {
    return [=] {
        std::remove("Rec.dat");
        if (text == kFolder) {
            mkdir("Rec.dat", 0755);
        } else if (text != kMissing) {
            WriteText("Rec.dat", text);
            chmod("Rec.dat", file);
        }
        chmod(".", folder);
    };
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
    if (!std::regex_match(text, m, twoLines)) return false;
    if (a) *a = std::stol(m[1]);
    if (b) *b = std::stol(m[2]);
    return true;
}

struct Outcome {
    std::string console;
    bool exited = false;
    int code = -1;
    int signal = 0;
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string ReadAll(FILE* log) {
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = pread(fileno(log), buf, sizeof buf, text.size())) > 0;) text.append(buf, n);
    return text;
}

// `body` in a child under the dummy driver with the console in a file, so a crash is seen
// as a signal and the test goes on. A child of root may drop to nobody, so that file
// permissions apply. With `quitAtTitle` the child gets SIGTERM (the window's close request)
// once its title has loaded; a child that hangs is killed.
Outcome RunChild(bool unprivileged, bool quitAtTitle, const std::function<int()>& body) {
    FILE* log = std::tmpfile();
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fileno(log), 1);
        dup2(fileno(log), 2);
        setvbuf(stdout, nullptr, _IOLBF, 0);
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(121);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        const int code = body();
        std::fflush(stdout);
        _exit(code);
    }
    int status = 0;
    bool ended = false;
    for (int tick = 0; tick < kTimeoutTicks && !(ended = waitpid(pid, &status, WNOHANG) == pid); ++tick) {
        if (quitAtTitle && ReadAll(log).find(kSeparator) != std::string::npos) {
            usleep(kTitleTime);
            kill(pid, SIGTERM);
            quitAtTitle = false;
        }
        usleep(50000);
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    Outcome out{ReadAll(log), WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                WIFSIGNALED(status) ? WTERMSIG(status) : 0};
    std::fclose(log);
    return out;
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
        for (int i = 0; i < 10 && !game.TitleFrame(title); ++i) {
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

int RunGameBinary() {
    execl(COMET_GAME_BINARY, COMET_GAME_BINARY, static_cast<char*>(nullptr));
    return 127;
}

// One damaged input and what the game must make of it.
struct Damage {
    const char* name;
    std::function<void()> apply;  // in the scratch folder, after LayGoodWorld
    std::string console;          // from the start to the title; kSheetError: all of it
    std::string savedRecords = kUnchanged;  // Rec.dat after the round
    std::string saveLine = kRecordOk;       // the round's last console line
    bool unprivileged = false;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }
std::string DamageName(const ::testing::TestParamInfo<Damage>& info) { return info.param.name; }

class DamagedInput : public ::testing::TestWithParam<Damage> {
protected:
    ScratchDir dir;
};

TEST_P(DamagedInput, NoCrashTheGameSaysWhatWentWrongAndNoRecordIsLost) {
    const Damage& damage = GetParam();
    const bool starts = damage.console != kSheetError;  // without a sprite sheet it ends
    LayGoodWorld();
    damage.apply();
    const std::string recordsBefore = RecordFileState();
    const auto expectRun = [&](const Outcome& run, const char* which) {
        EXPECT_TRUE(run.exited) << which << " died by signal " << run.signal << "\n" << run.console;
        EXPECT_EQ(run.code, starts ? 0 : 1) << which << "\n" << run.console;
        EXPECT_EQ(run.console.find("Sanitizer"), std::string::npos) << which << run.console;
        EXPECT_EQ(run.console.find("runtime error:"), std::string::npos) << which << run.console;
        EXPECT_EQ(starts ? run.console.substr(0, damage.console.size()) : run.console, damage.console)
            << which;
    };

    expectRun(RunChild(damage.unprivileged, starts, RunGameBinary), "the program");
    EXPECT_EQ(RecordFileState(), recordsBefore) << "quitting from the title saves nothing";

    const Outcome round = RunChild(damage.unprivileged, false, PlayOneRound);
    expectRun(round, "the round");
    EXPECT_EQ(RecordFileState(),
              damage.savedRecords == kUnchanged ? recordsBefore : damage.savedRecords)
        << round.console;
    if (starts) {
        EXPECT_TRUE(EndsWith(round.console, damage.saveLine + "\n")) << round.console;
    }
    struct stat st;
    EXPECT_FALSE(stat("Rec.dat.tmp", &st) == 0 && S_ISREG(st.st_mode))
        << "no temporary file is left behind";
}

// ---------------------------------------------------------------- Rec.dat

const Damage kRecordDamage[] = {
    {"Missing", Rec(kMissing), Start("\n"), "30\n0\n"},
    // A folder opens for reading but yields no line; it cannot be replaced by the save.
    {"AFolder", Rec(kFolder), Start(Records(0, 0)), kFolder, kRecordError},
    {"Unreadable", Rec(kGoodRecords, 0222, 0777), Start("\n"), kGoodRecords + "30\n0\n", kRecordOk, true},
    {"Unwritable", Rec("10\n20\n", 0444, 0777), Start(Records(10, 20)), "10\n20\n", kRecordError, true},
    {"InAReadOnlyFolder", Rec("10\n20\n", 0666, 0555), Start(Records(10, 20)), "30\n20\n", kRecordOk, true},
    {"MissingInAReadOnlyFolder", Rec(kMissing, 0644, 0555), Start("\n"), kMissing, kRecordError, true},
    {"LinkIntoAMissingFolder", [] { std::remove("Rec.dat"); symlink("gone/records", "Rec.dat"); }, Start("\n"),
     kMissing, kRecordError},
    {"LeftoverTemporaryFileOfAKilledSave", [] { WriteText("Rec.dat.tmp", "1\n"); }, kGoodStart},
    {"TemporaryFileNameTakenByAFolder", [] { Rec("10\n20\n")(); mkdir("Rec.dat.tmp", 0755); },
     Start(Records(10, 20)), "30\n20\n"},
};
INSTANTIATE_TEST_SUITE_P(RecordFile, DamagedInput, ::testing::ValuesIn(kRecordDamage), DamageName);

// ---------------------------------------------------------------- sprite sheet

void TruncateSheet(long bytes) {
    if (truncate("image/material.bmp", bytes) != 0) ADD_FAILURE() << "cannot truncate";
}

const Damage kSheetDamage[] = {
    {"Missing", [] { std::remove("image/material.bmp"); }, kSheetError},
    {"TruncatedToItsHeader", [] { TruncateSheet(54); }, kSheetError},
    {"TruncatedToHalf",
     [] {
         struct stat st;
         stat("image/material.bmp", &st);
         TruncateSheet(st.st_size / 2);
     },
     kSheetError},
    // Every sprite but the top-left ones lies outside: SDL clips each blit to the sheet.
    {"HundredByHundred", [] { WriteSolidBmp("image/material.bmp", 100, 100, 0xc83c3c); }, kGoodStart},
};
INSTANTIATE_TEST_SUITE_P(SpriteSheet, DamagedInput, ::testing::ValuesIn(kSheetDamage), DamageName);

// ---------------------------------------------------------------- killed while saving

constexpr int kKills = 40;

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

// Starts SaveForever, kills it with SIGKILL at a random moment (up to 20 ms) once it saves.
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
    usleep(std::rand() % 20000);
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
    for (int i = 0; i < kKills; ++i) {
        ASSERT_NO_FATAL_FAILURE(KillWhileSaving(false));
        long a = 0, b = 0;
        ASSERT_TRUE(ValidRecords(RecordFileState(), &a, &b)) << "after kill " << i;
        EXPECT_GE(a, lastA) << "after kill " << i;
        EXPECT_EQ(b, 777) << "after kill " << i;
        lastA = a;
    }
    EXPECT_GT(lastA, 100 + kKills) << "the child saved at least once per run";
}

TEST(KilledWhileSaving, FirstSaveLeavesNoFileOrTwoValidLines) {
    ScratchDir dir;
    WriteTestSheet();
    std::srand(54321);
    for (int i = 0; i < kKills; ++i) {
        ASSERT_NO_FATAL_FAILURE(KillWhileSaving(true));
        const std::string now = RecordFileState();
        EXPECT_TRUE(now == kMissing || ValidRecords(now)) << "after kill " << i << ": [" << now << "]";
    }
}

}  // namespace
