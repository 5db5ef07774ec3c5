// What only the real program on a real disk can show: Rec.dat as a folder, unreadable,
// unwritable, in a read-only folder or a link to nowhere, a damaged sprite sheet. Each damage case breaks one thing in a scratch folder,
// runs the real program to its title and quits it, then runs the game's own code through
// start-up, the title and a round that Escape ends, which saves. Nothing may crash, the
// console says what went wrong in the game's own lines, and no valid record is lost.
// (What each shape of Rec.dat or of the map list reads as: records_test and map_test.)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr int kTimeoutTicks = 2400;        // of 50 ms: the sanitizer build starts slowly
constexpr useconds_t kTitleTime = 400000;  // let the title draw a few dozen frames
constexpr int kRoundFrames = 29;           // then the Escape frame: a score of 30
constexpr uid_t kNobody = 65534;

const std::string kSeparator = std::string(65, '_') + "\n";
const std::string kSheetOk = "OK: MaterialFile was successfully loaded.\n\n";
const std::string kSheetError = "Error: MaterialFile could not be loaded.\n";
const std::string kSaved = "OK: RecordFile was successfully loaded.\n";
const std::string kNotSaved = "Error: RecordFile could not be loaded.\n";
const std::string kGoodRecords = "5000\n6000\n";  // above any score a test round reaches
const std::string kUnchanged = "<unchanged>", kMissing = "<missing>", kFolder = "<folder>";

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

// What Rec.dat is on disk, as text, or a marker when it is no regular file.
std::string RecordFileState() {
    struct stat st;
    if (stat("Rec.dat", &st) != 0) return kMissing;
    if (S_ISDIR(st.st_mode)) return kFolder;
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
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(121);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        const int code = body();
        std::fflush(stdout);
        _exit(code);
    }
    Outcome out;
    bool ended = false;
    for (int tick = 0; tick < kTimeoutTicks && !(ended = waitpid(pid, &out.status, WNOHANG) == pid); ++tick) {
        if (quitAtTitle && ReadAll(log).find(kSeparator) != std::string::npos) {
            usleep(kTitleTime);
            kill(pid, SIGTERM);
            quitAtTitle = false;
        }
        usleep(50000);
    }
    if (!ended) kill(pid, SIGKILL), waitpid(pid, &out.status, 0);
    out.console = ReadAll(log);
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
    }
    Round round;
    int showTitle = 0;
    for (int i = 0; i < kRoundFrames; ++i) game.RoundFrame(round, &showTitle);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    return game.RoundFrame(round, &showTitle) && game.quit ? 0 : 3;
}

int RunGameBinary() {
    execl(COMET_GAME_BINARY, COMET_GAME_BINARY, static_cast<char*>(nullptr));
    return 127;
}

// One damaged input and what the game must make of it.
struct Damage {
    const char* name;
    std::function<void()> apply;  // in the scratch folder, after LayGoodWorld
    std::string records;          // the start-up's record lines; kSheetError: the whole console
    std::string savedRecords = kUnchanged;  // Rec.dat after the round
    std::string saveLine = kSaved;          // the round's last console line
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
    expectRun(RunChild(damage.unprivileged, starts, RunGameBinary), "the program");
    EXPECT_EQ(RecordFileState(), before) << "quitting from the title saves nothing";

    const Outcome round = RunChild(damage.unprivileged, false, PlayOneRound);
    expectRun(round, "the round");
    EXPECT_EQ(RecordFileState(), damage.savedRecords == kUnchanged ? before : damage.savedRecords) << round.console;
    const std::string end = starts ? damage.saveLine : kSheetError;
    EXPECT_EQ(round.console.substr(round.console.size() - std::min(end.size(), round.console.size())), end);
    struct stat st;
    EXPECT_FALSE(stat("Rec.dat.tmp", &st) == 0 && S_ISREG(st.st_mode)) << "no temporary file is left behind";
}

const Damage kRecordDamage[] = {
    {"Missing", Rec(kMissing), "\n", "30\n0\n"},
    // A folder opens for reading but yields no line; it cannot be replaced by the save.
    {"AFolder", Rec(kFolder), Records(0, 0), kFolder, kNotSaved},
    {"Unreadable", Rec(kGoodRecords, 0222, 0777), "\n", kGoodRecords + "30\n0\n", kSaved, true},
    {"Unwritable", Rec("10\n20\n", 0444, 0777), Records(10, 20), "10\n20\n", kNotSaved, true},
    {"InAReadOnlyFolder", Rec("10\n20\n", 0666, 0555), Records(10, 20), "30\n20\n", kSaved, true},
    {"MissingInAReadOnlyFolder", Rec(kMissing, 0644, 0555), "\n", kMissing, kNotSaved, true},
    {"LinkIntoAMissingFolder", [] { std::remove("Rec.dat"); symlink("gone/records", "Rec.dat"); }, "\n", kMissing,
     kNotSaved},
    {"LeftoverTemporaryFileOfAKilledSave", [] { std::ofstream("Rec.dat.tmp") << "1\n"; }, Records(5000, 6000)},
    {"TemporaryFileNameTakenByAFolder", [] { Rec("10\n20\n")(); mkdir("Rec.dat.tmp", 0755); }, Records(10, 20),
     "30\n20\n"},
};
INSTANTIATE_TEST_SUITE_P(RecordFile, DamagedInput, ::testing::ValuesIn(kRecordDamage), DamageName);

void TruncateSheet(long bytes) {
    if (truncate("image/material.bmp", bytes) != 0) ADD_FAILURE() << "cannot truncate";
}

const Damage kSheetDamage[] = {
    {"Missing", [] { std::remove("image/material.bmp"); }, kSheetError},
    {"TruncatedToHalf", [] { TruncateSheet(473 * 309 * 3 / 2); }, kSheetError},
};
INSTANTIATE_TEST_SUITE_P(SpriteSheet, DamagedInput, ::testing::ValuesIn(kSheetDamage), DamageName);

}  // namespace
