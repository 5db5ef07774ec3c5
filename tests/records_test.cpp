// The record file: what each shape of Rec.dat loads, what a save writes, and that a
// save never leaves the file half-written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "Game.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const char* kLoadedLine = "OK: RecordFile was successfully loaded.\n";
const char* kErrorLine = "Error: RecordFile could not be loaded.\n";

// A started game in a scratch folder with a sprite sheet; the tests drive its records.
struct RecordFixture : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<Game> game;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        WriteTestSheet();
        StartCapture();
        game = std::make_unique<Game>();
        StopCapture();
        ASSERT_TRUE(game->Ready());
    }

    std::string Load() {
        StartCapture();
        game->LoadRecords();
        return StopCapture();
    }

    std::string Save(int mode, int score) {
        game->mode = mode;
        game->score = score;
        StartCapture();
        game->SaveRecords();
        return StopCapture();
    }
};

// Runs `body` in a child process; when the tests run as root the child drops to an
// unprivileged user first, so that file permissions apply. Returns the child's status.
int RunUnprivileged(const std::function<int()>& body) {
    fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(90);
        const int code = body();
        fflush(stdout);
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

}  // namespace

TEST_F(RecordFixture, TwoLinesLoadAsModeAThenModeB) {
    dir.Write("Rec.dat", "123\n45\n");
    EXPECT_EQ(Load(), std::string(kLoadedLine) + "\nModeA Rec: 123\nModeB Rec: 45\n\n");
    EXPECT_EQ(game->recordA, 123);
    EXPECT_EQ(game->recordB, 45);
    EXPECT_EQ(game->recordMissing, 0);
}

TEST_F(RecordFixture, MissingFileLoadsZerosAndPrintsOnlyAnEmptyLine) {
    game->recordA = 7;
    game->recordB = 8;
    EXPECT_EQ(Load(), "\n");
    EXPECT_EQ(game->recordA, 0);
    EXPECT_EQ(game->recordB, 0);
    EXPECT_EQ(game->recordMissing, 1);
}

TEST_F(RecordFixture, SixCharacterModeARecordSwallowsTheLineFeedAsModeB) {
    dir.Write("Rec.dat", "123456\n789\n");
    Load();
    EXPECT_EQ(game->recordA, 123456);
    EXPECT_EQ(game->recordB, 0);
}

TEST_F(RecordFixture, SevenCharacterModeARecordSplitsAcrossBothReads) {
    dir.Write("Rec.dat", "1234567\n89\n");
    Load();
    EXPECT_EQ(game->recordA, 123456);
    EXPECT_EQ(game->recordB, 7);
}

TEST_F(RecordFixture, SingleLineLoadsTheSameRecordForBothModes) {
    dir.Write("Rec.dat", "123\n");
    Load();
    EXPECT_EQ(game->recordA, 123);
    EXPECT_EQ(game->recordB, 123);
}

TEST_F(RecordFixture, EmptyFileAtTheFirstLoadGivesZero) {
    dir.Write("Rec.dat", "");
    EXPECT_EQ(Load(), std::string(kLoadedLine) + "\nModeA Rec: 0\nModeB Rec: 0\n\n");
}

TEST_F(RecordFixture, EmptyFileAfterAnEarlierLoadRepeatsTheTextReadBefore) {
    dir.Write("Rec.dat", "77\n");
    Load();
    dir.Write("Rec.dat", "");
    Load();
    EXPECT_EQ(game->recordA, 77);
    EXPECT_EQ(game->recordB, 77);
}

TEST_F(RecordFixture, NegativeAndGarbageLinesConvertLikeAtoi) {
    dir.Write("Rec.dat", "-42\nzz9\n");
    Load();
    EXPECT_EQ(game->recordA, -42);
    EXPECT_EQ(game->recordB, 0);
}

TEST_F(RecordFixture, FileChangedOnDiskIsReadAgainAtTheNextLoad) {
    dir.Write("Rec.dat", "1\n2\n");
    Load();
    dir.Write("Rec.dat", "30\n40\n");
    Load();
    EXPECT_EQ(game->recordA, 30);
    EXPECT_EQ(game->recordB, 40);
}

TEST_F(RecordFixture, FirstSaveWithoutAFileCreatesItWithBothLines) {
    Load();
    EXPECT_EQ(Save(kModeA, 50), kLoadedLine);
    EXPECT_EQ(dir.Read("Rec.dat"), "50\n0\n");
}

TEST_F(RecordFixture, BetterScoreReplacesOnlyTheRecordOfItsMode) {
    dir.Write("Rec.dat", "10\n20\n");
    Load();
    EXPECT_EQ(Save(kModeB, 30), kLoadedLine);
    EXPECT_EQ(dir.Read("Rec.dat"), "10\n30\n");
    EXPECT_EQ(game->recordB, 30);
}

TEST_F(RecordFixture, EqualOrLowerScoreRewritesTheFileWithItsValues) {
    dir.Write("Rec.dat", "10\n20\n");
    Load();
    Save(kModeA, 10);
    EXPECT_EQ(dir.Read("Rec.dat"), "10\n20\n");
    Save(kModeB, 5);
    EXPECT_EQ(dir.Read("Rec.dat"), "10\n20\n");
}

TEST_F(RecordFixture, ValuesLoadedFromABrokenPairingAreWhatTheNextSaveWrites) {
    dir.Write("Rec.dat", "1234567\n89\n");
    Load();
    Save(kModeA, 3);
    EXPECT_EQ(dir.Read("Rec.dat"), "123456\n7\n");
}

TEST_F(RecordFixture, SaveReplacesTheFileInsteadOfWritingIntoIt) {
    // A second name for the old file keeps its bytes: the save made a new file and
    // renamed it over Rec.dat, so Rec.dat was never truncated in place.
    dir.Write("Rec.dat", "10\n20\n");
    ASSERT_EQ(link("Rec.dat", "old.dat"), 0);
    Load();
    Save(kModeA, 99);
    EXPECT_EQ(dir.Read("Rec.dat"), "99\n20\n");
    EXPECT_EQ(dir.Read("old.dat"), "10\n20\n");
    EXPECT_NE(access("Rec.dat.tmp", F_OK), 0) << "no temporary file is left behind";
}

TEST_F(RecordFixture, RecordFileThatIsAFolderLoadsZerosAndCannotBeSaved) {
    ASSERT_EQ(mkdir("Rec.dat", 0755), 0);
    Load();
    EXPECT_EQ(game->recordA, 0);
    EXPECT_EQ(game->recordB, 0);
    EXPECT_EQ(Save(kModeA, 5), kErrorLine);
    struct stat st;
    ASSERT_EQ(stat("Rec.dat", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_NE(access("Rec.dat.tmp", F_OK), 0);
}

TEST_F(RecordFixture, ReadOnlyFolderFallsBackToWritingTheFileInPlace) {
    dir.Write("Rec.dat", "10\n20\n");
    chmod("Rec.dat", 0666);
    Load();
    game->mode = kModeA;
    game->score = 64;
    chmod(dir.path().c_str(), 0555);
    StartCapture();
    const int status = RunUnprivileged([&] {
        game->SaveRecords();
        return 0;
    });
    const std::string out = StopCapture();
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, kLoadedLine);
    EXPECT_EQ(dir.Read("Rec.dat"), "64\n20\n");
}

TEST_F(RecordFixture, ReadOnlyRecordFileIsLeftAloneWithTheErrorLine) {
    dir.Write("Rec.dat", "10\n20\n");
    chmod("Rec.dat", 0444);
    chmod(dir.path().c_str(), 0777);
    Load();
    game->mode = kModeA;
    game->score = 64;
    StartCapture();
    const int status = RunUnprivileged([&] {
        game->SaveRecords();
        return 0;
    });
    EXPECT_EQ(StopCapture(), kErrorLine);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dir.Read("Rec.dat"), "10\n20\n");
}

TEST_F(RecordFixture, UnreadableRecordFileIsAppendedToAtEverySave) {
    dir.Write("Rec.dat", "10\n20\n");
    chmod("Rec.dat", 0222);
    chmod(dir.path().c_str(), 0777);
    const int status = RunUnprivileged([&] {
        for (int round = 0; round < 2; ++round) {
            game->LoadRecords();
            if (game->recordMissing != 1 || game->recordA != 0) return 1;
            game->mode = kModeA;
            game->score = 5 + round;
            game->SaveRecords();
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dir.Read("Rec.dat"), "10\n20\n5\n0\n6\n0\n");
}
