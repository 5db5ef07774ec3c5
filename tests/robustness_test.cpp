// What only the real program on a real disk can show: each shape of Rec.dat's lines, and
// Rec.dat as a folder, a FIFO, a link to a device, unreadable, unwritable, on a full disk,
// in a read-only folder, a link to nowhere or 2 GB large, a hang-up, a damaged sprite
// sheet, and instances saving at once. Each damage case breaks one thing in
// a scratch folder, runs the real program to its title and quits it, then runs the game's
// own main loop on a clock of its own through start-up, the title and a round that Escape
// ends, which saves. Nothing
// may crash, the console says what went wrong in the game's own lines, and no valid
// record is lost. (What each shape of the map list reads as: map_test.)
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "Game.h"
#include "SpriteSheet.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kTimeoutTicks = 12000;  // of 50 ms or more: a hang guard only (memcheck under load takes minutes)
constexpr useconds_t kTitleTime = 400000;  // let the title draw a few dozen frames
constexpr int kRoundFrames = 29;           // then the Escape frame: a score of 30
constexpr uid_t kNobody = 65534;

const std::string kSeparator = std::string(65, '_') + "\n";
const std::string kSheetOk = "OK: MaterialFile was successfully loaded.\n\n";
const std::string kSheetError = "Error: MaterialFile could not be loaded.\n";
const std::string kSaved = "OK: RecordFile was successfully loaded.\n";
const std::string kNotSaved = "Error: RecordFile could not be loaded.\n";
const std::string kGoodRecords = "5000\n6000\n";  // above any score a test round reaches
const std::string kUnchanged = "<unchanged>", kMissing = "<missing>", kFolder = "<folder>", kSpecial = "<special>";
const std::string kHuge = "<huge>";  // larger than the game reads: not read here either
constexpr int kNoPrivateMounts = 124, kRecordsHarmed = 125;  // exit codes of InPrivateMounts

std::string Records(int a, int b) {
    return kSaved + "\nModeA Rec: " + std::to_string(a) + "\nModeB Rec: " + std::to_string(b) + "\n\n";
}

// The real sprite sheet (a copy: some cases damage it), the real caves, a valid Rec.dat.
void LayGoodWorld() {
    mkdir("image", 0755);
    std::ofstream("image/material.bmp", std::ios::binary)
        << std::ifstream(COMET_BUILD_DIR "/image/material.bmp", std::ios::binary).rdbuf();
    if (symlink(COMET_BUILD_DIR "/image/mapImg", "image/mapImg") != 0) ADD_FAILURE() << "no caves";
    std::ofstream("Rec.dat") << kGoodRecords;
    chmod(".", 0755);  // an unprivileged game must get in
}

// Rec.dat as `text` (or missing, or a folder) with the file's and the folder's modes.
std::function<void()> Rec(const std::string& text, mode_t file = 0644, mode_t folder = 0755) {
    return [=] {
        std::remove("Rec.dat");
        if (text == kFolder) mkdir("Rec.dat", 0755);
        if (text != kFolder && text != kMissing) std::ofstream("Rec.dat") << text;
        chmod("Rec.dat", file);
        chmod(".", folder);
    };
}

// Rec.dat -> l1 -> ... -> l40 -> records: 41 links, one more than the system follows.
void LinkChain() {
    std::remove("Rec.dat");
    std::string from = "Rec.dat";
    for (int i = 1; i <= 41; ++i) {
        const std::string to = i == 41 ? "records" : "l" + std::to_string(i);
        if (symlink(to.c_str(), from.c_str()) != 0) ADD_FAILURE() << "no link " << from;
        from = to;
    }
    std::ofstream("records") << kGoodRecords;
}

// What Rec.dat is on disk, as text, or a marker when it is no regular file.
std::string RecordFileState() {
    struct stat st;
    if (stat("Rec.dat", &st) != 0) return kMissing;
    if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? kFolder : kSpecial;  // a FIFO is never opened
    if (st.st_size > static_cast<off_t>(kRecordReadLimit)) return kHuge;
    std::ifstream in("Rec.dat", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadAll(FILE* log) {
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = pread(fileno(log), buf, sizeof buf, text.size())) > 0;) text.append(buf, n);
    return text;
}

struct Outcome {
    std::string console;
    int status = 0;  // as waitpid gives it
};

// `body` in a child under the dummy driver with the console in a file, so a crash is seen
// as a signal and the test goes on. A child of root may drop to nobody, so that file
// permissions apply. With a `quitSignal` (SIGTERM: the window's close request) the child
// gets it once its title has loaded; a child that hangs is killed.
Outcome RunChild(bool unprivileged, int quitSignal, const std::function<int()>& body) {
    FILE* log = std::tmpfile();
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fileno(log), 1);
        dup2(fileno(log), 2);
        setvbuf(stdout, nullptr, _IOLBF, 0);
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(121);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        const int code = body();
        std::fflush(stdout);
        _exit(code);
    }
    Outcome out;
    bool ended = false;
    for (int tick = 0; tick < kTimeoutTicks && !(ended = waitpid(pid, &out.status, WNOHANG) == pid); ++tick) {
        if (quitSignal != 0 && ReadAll(log).find(kSeparator) != std::string::npos) {
            usleep(kTitleTime);
            kill(pid, quitSignal);
            quitSignal = 0;
        }
        usleep(50000);
    }
    if (!ended) kill(pid, SIGKILL), waitpid(pid, &out.status, 0);
    out.console = ReadAll(log);
    std::fclose(log);
    return out;
}

// The game's own main loop up to the first round's end, paced on a clock of its own: a
// at once ends the title, and Escape after 29 paced frames ends a round of 30, which saves.
Uint32 gTicks = 0;
int gSleeps = 0;
Uint32 Ticks() { return gTicks; }
void SleepThenEscape(Uint32 ms) {
    gTicks += ms;
    if (++gSleeps == kRoundFrames) PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
}
int PlayOneRound() {
    Game game;
    PushKey(SDL_KEYDOWN, SDLK_a);
    return game.RunGame(Ticks, SleepThenEscape);
}

int RunGameBinary() {
    execl(COMET_GAME_BINARY, COMET_GAME_BINARY, static_cast<char*>(nullptr));
    return 127;
}

// `body` in a private mount namespace whose /dev is a tmpfs holding one null device and
// whose ./full is a tmpfs that a record file fills: no real device or disk is at stake.
// What Rec.dat is there, a device or that file, must stay as it was.
int InPrivateMounts(const std::function<int()>& body) {
    mkdir("full", 0755);
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", "/dev", "tmpfs", 0, nullptr) != 0 || mknod("/dev/null", S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        mount("tmpfs", "full", "tmpfs", 0, "size=4k") != 0 || !(std::ofstream("full/records") << "10\n20\n").flush())
        return kNoPrivateMounts;
    const std::string before = RecordFileState();
    const int code = body();
    return code == 0 && RecordFileState() != before ? kRecordsHarmed : code;
}

// One damaged input and what the game must make of it.
struct Damage {
    const char* name;
    std::function<void()> apply;  // in the scratch folder, after LayGoodWorld
    std::string records;          // the start-up's record lines; kSheetError: the whole console
    std::string savedRecords = kUnchanged;  // Rec.dat after the round
    std::string saveLine = kSaved;          // the round's last console line
    bool unprivileged = false;
    bool privateMounts = false;  // run InPrivateMounts (root only)
    int quitSignal = SIGTERM;    // what ends the program at its title
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }
std::string DamageName(const ::testing::TestParamInfo<Damage>& info) { return info.param.name; }

class DamagedInput : public ::testing::TestWithParam<Damage> {
protected:
    ScratchDir dir;
};

TEST_P(DamagedInput, NoCrashTheGameSaysWhatWentWrongAndNoRecordIsLost) {
    const Damage& damage = GetParam();
    const bool starts = damage.records != kSheetError;  // without a sprite sheet it ends
    LayGoodWorld();
    damage.apply();
    const std::string before = RecordFileState();
    const auto expectRun = [&](const Outcome& run, const char* which) {
        EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == (starts ? 0 : 1))
            << which << " ended with status " << run.status << "\n" << run.console;
        EXPECT_EQ(run.console.find("Sanitizer"), std::string::npos) << which << run.console;
        EXPECT_EQ(run.console.find("runtime error:"), std::string::npos) << which << run.console;
        if (!starts) {
            EXPECT_EQ(run.console, kSheetError) << which;
            return;
        }
        EXPECT_EQ(run.console.rfind(kSheetOk + damage.records, 0), 0u) << which << "\n" << run.console;
        EXPECT_NE(run.console.find(kSeparator), std::string::npos) << which << " did not load its caves";
    };
    const auto world = [&](std::function<int()> body) -> std::function<int()> {
        return damage.privateMounts ? [body] { return InPrivateMounts(body); } : body;
    };
    const Outcome program = RunChild(damage.unprivileged, starts ? damage.quitSignal : 0, world(RunGameBinary));
    if (WIFEXITED(program.status) && WEXITSTATUS(program.status) == kNoPrivateMounts)
        GTEST_SKIP() << "private mounts need root";
    expectRun(program, "the program");
    EXPECT_EQ(RecordFileState(), before) << "quitting from the title saves nothing";

    const Outcome round = RunChild(damage.unprivileged, 0, world(PlayOneRound));
    expectRun(round, "the round");
    EXPECT_EQ(RecordFileState(), damage.savedRecords == kUnchanged ? before : damage.savedRecords) << round.console;
    const std::string end = starts ? damage.saveLine : kSheetError;
    EXPECT_EQ(round.console.substr(round.console.size() - std::min(end.size(), round.console.size())), end);
    EXPECT_NE(system("ls Rec.dat.*.tmp 2>/dev/null"), 0) << "no temporary file is left behind";
}

const Damage kRecordDamage[] = {
    {"Missing", Rec(kMissing), "\n", "30\n0\n"},
    // A folder opens for reading but yields no line; it cannot be replaced by the save.
    // A folder, a FIFO (whose open would wait for a writer) or a device: never opened.
    {"AFolder", Rec(kFolder), "\n", kFolder, kNotSaved},
    {"AFifo", [] { std::remove("Rec.dat"); mkfifo("Rec.dat", 0644); }, "\n", kUnchanged, kNotSaved},
    {"LinkToADevice", [] { std::remove("Rec.dat"); symlink("/dev/null", "Rec.dat"); }, "\n", kUnchanged, kNotSaved,
     false, true},
    // A save that fails is said to fail, and the old file stays whole.
    {"OnAFullDisk", [] { std::remove("Rec.dat"); symlink("full/records", "Rec.dat"); }, Records(10, 20), kUnchanged,
     kNotSaved, false, true},
    // Each record is one whole line, read as atoi reads text (a number past int stops at
    // its end, one below 0 reads as 0), a missing one repeating the one above: the game's own six digits, CRLF,
    // blanks, a UTF-8 byte-order mark and a long line are all read.
    {"OneLineForBoth", Rec("123\n"), Records(123, 123), "123\n123\n"},
    {"SixDigits", Rec("123456\n789\n"), Records(123456, 789)},
    {"WindowsLineEnds", Rec("12345\r\n678\r\n"), Records(12345, 678), "12345\n678\n"},
    {"ByteOrderMarkBlanksLongLine", Rec("\xEF\xBB\xBF" + std::string(9000, ' ') + "\t4321 \n\t765\t\n"),
     Records(4321, 765), "4321\n765\n"},
    {"TextAfterTheNumberAndPastInt", Rec("12x\n99999999999\n"), Records(12, 2147483647), "30\n2147483647\n"},
    {"NegativeAndNoDigits", Rec("-42\nzz9\n"), Records(0, 0), "30\n0\n"},
    {"Unreadable", Rec(kGoodRecords, 0222, 0777), "\n", kGoodRecords + "30\n0\n", kSaved, true},
    {"Unwritable", Rec("10\n20\n", 0444, 0777), Records(10, 20), "10\n20\n", kNotSaved, true},
    {"InAReadOnlyFolder", Rec("10\n20\n", 0666, 0555), Records(10, 20), "30\n20\n", kSaved, true},
    {"MissingInAReadOnlyFolder", Rec(kMissing, 0644, 0555), "\n", kMissing, kNotSaved, true},
    // One link more than the system follows: refused like a loop, the file at its end untouched.
    {"ChainOf41Links", LinkChain, "\n", kUnchanged, kNotSaved},
    {"LinkIntoAMissingFolder", [] { std::remove("Rec.dat"); symlink("gone/records", "Rec.dat"); }, "\n", kMissing,
     kNotSaved},
    // 2 GB, sparse, its second line at the very end: only the start is read, so the title
    // comes at once and the second line is not there (and repeats the first).
    {"TwoGigabytesSparse", [] { Rec("1")(); truncate("Rec.dat", 2LL << 30); std::ofstream("Rec.dat", std::ios::app) << "\n7\n"; },
     Records(1, 1), "30\n1\n"},
    // A hang-up (the terminal closed, the session ended) ends the game as SIGTERM does.
    {"HangUp", Rec(kGoodRecords), Records(5000, 6000), kUnchanged, kSaved, false, false, SIGHUP},
};
INSTANTIATE_TEST_SUITE_P(RecordFile, DamagedInput, ::testing::ValuesIn(kRecordDamage), DamageName);

void TruncateSheet(long bytes) {
    if (truncate("image/material.bmp", bytes) != 0) ADD_FAILURE() << "cannot truncate";
}

const Damage kSheetDamage[] = {
    {"Missing", [] { std::remove("image/material.bmp"); }, kSheetError},
    {"TruncatedToHalf", [] { TruncateSheet(sheet::kWidth * sheet::kHeight * 3 / 2); }, kSheetError},
};
INSTANTIATE_TEST_SUITE_P(SpriteSheet, DamagedInput, ::testing::ValuesIn(kSheetDamage), DamageName);

// ---------------------------------------------------------------- saving at once

// Instances closed together (a session's end) all save at once, each with its own best
// score in one mode: every save succeeds (no two share a temporary file), and the file
// keeps the highest of each mode.
TEST(SavingAtOnce, InstancesClosedTogetherKeepTheHighestRecordOfEachMode) {
    constexpr int kInstances = 20;
    ScratchDir dir;
    WriteTestSheet();
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::fflush(stdout);
    pid_t children[kInstances];
    for (int i = 0; i < kInstances; ++i) {
        if ((children[i] = fork()) != 0) continue;
        close(start[1]);
        FILE* console = std::tmpfile();
        if (!console || dup2(fileno(console), 1) < 0) _exit(120);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        Game game;
        game.GameInit();
        game.mode = i % 2 == 0 ? kModeA : kModeB;
        game.score = 100 + i;  // the highest: 118 in Mode A, 119 in Mode B
        char go;
        if (read(start[0], &go, 1) != 0) _exit(121);  // all wait for the pipe to close
        game.SaveRecords();
        std::fflush(stdout);
        _exit(ReadAll(console).find(kSaved) == std::string::npos ? 1 : 0);
    }
    close(start[0]);
    close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed: status " << status;
    }
    EXPECT_EQ(RecordFileState(), "118\n119\n");
}

}  // namespace
