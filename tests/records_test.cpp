// The record file: what a load prints, what a save writes, that a save never writes into
// the old file and never lowers a record another instance saved. What each shape of
// Rec.dat reads as, and odd files, run against the real program in robustness_test.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "StartedGame.h"

using namespace testsupport;

namespace {

const std::string kLoadedLine = "OK: RecordFile was successfully loaded.\n";

std::string TempName(const std::string& folder) { return folder + "Rec.dat." + std::to_string(getpid()) + ".tmp"; }
constexpr uid_t kNobody = 65534;

struct RecordFixture : StartedGame {
    std::string Load(const std::string& text) {
        dir.Write("Rec.dat", text);
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

}  // namespace

TEST_F(RecordFixture, EveryLoadReadsTheFileAgainAndAnEmptyOneRepeatsTheLastLineRead) {
    Load("1\n2\n");
    Load("30\n40\n");
    EXPECT_EQ(game->recordA, 30);
    EXPECT_EQ(game->recordB, 40);
    Load("");
    EXPECT_EQ(game->recordA, 40);
    EXPECT_EQ(game->recordB, 40);
}

// Two instances on one file (nullptr: no file yet). The second loaded `before`; then the
// first loaded it, played round 1 and saved. The second's save, of round 2, must keep
// each mode's best, and the second instance then knows them.
TEST_F(RecordFixture, ASaveNeverLowersARecordAnotherInstanceSavedSinceItsLoad) {
    const struct { const char* before; int mode1, score1, mode2, score2; const char* after; } cases[] = {
        {"100\n200\n", kModeA, 322, kModeA, 0, "322\n200\n"},
        {"100\n200\n", kModeA, 322, kModeB, 250, "322\n250\n"},
        {"100\n200\n", kModeB, 300, kModeA, 150, "150\n300\n"},
        {"100\n200\n", kModeB, 300, kModeB, 250, "100\n300\n"},
        {nullptr, kModeA, 40, kModeB, 30, "40\n30\n"},  // the first save created the file
    };
    for (const auto& c : cases) {
        std::remove("Rec.dat");
        if (c.before) dir.Write("Rec.dat", c.before);
        game->LoadRecords();
        const int a = game->recordA, b = game->recordB, missing = game->recordMissing;
        game->LoadRecords();  // now the first instance
        Save(c.mode1, c.score1);
        game->recordA = a, game->recordB = b, game->recordMissing = missing;  // the second again
        EXPECT_EQ(Save(c.mode2, c.score2), kLoadedLine) << c.after;
        EXPECT_EQ(dir.Read("Rec.dat"), c.after);
        EXPECT_EQ(std::to_string(game->recordA) + "\n" + std::to_string(game->recordB) + "\n", c.after);
    }
}

TEST_F(RecordFixture, SaveReplacesTheFileInsteadOfWritingIntoIt) {
    // A second name for the old file keeps its bytes: the save made a new file and
    // renamed it over Rec.dat, so Rec.dat was never truncated in place.
    dir.Write("Rec.dat", "10\n20\n");
    ASSERT_EQ(link("Rec.dat", "old.dat"), 0);
    game->LoadRecords();
    Save(kModeA, 99);
    EXPECT_EQ(dir.Read("Rec.dat"), "99\n20\n");
    EXPECT_EQ(dir.Read("old.dat"), "10\n20\n");
    EXPECT_NE(access(TempName("").c_str(), F_OK), 0) << "no temporary file is left behind";
}

// A read-only folder: the save writes over Rec.dat where it is. When that write fails (a
// file size limit of 0), the old records stay.
TEST_F(RecordFixture, AFailedWriteInPlaceKeepsTheOldRecords) {
    dir.Write("Rec.dat", "10\n20\n");
    game->LoadRecords();
    ASSERT_EQ(chmod("Rec.dat", 0666) | chmod(".", 0555), 0);
    int console[2];  // a pipe: the file size limit would stop a captured console too
    ASSERT_EQ(pipe(console), 0);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noBytes{0, 0};
        const bool nobody = geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0);  // root may write anywhere
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the program
        if (!nobody || setrlimit(RLIMIT_FSIZE, &noBytes) != 0 || dup2(console[1], 1) < 0) _exit(120);
        game->mode = kModeA;
        game->score = 99;
        game->SaveRecords();
        std::fflush(stdout);
        _exit(0);
    }
    close(console[1]);
    char said[100] = {};
    EXPECT_GT(read(console[0], said, sizeof said - 1), 0);
    close(console[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_STREQ(said, "Error: RecordFile could not be loaded.\n");
    EXPECT_EQ(dir.Read("Rec.dat"), "10\n20\n");
}

// A Rec.dat that is a symbolic link (for example into a synced folder) stays a link:
// the save replaces the file it points to, with that file's permission bits.
// Here through two links: one by absolute path into a folder, one relative to that folder,
// to a file whose name is near the file system's limit of 255 bytes.
TEST_F(RecordFixture, SaveThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    const std::string records = "kept/" + std::string(250, 'r');
    ASSERT_EQ(mkdir("kept", 0700), 0);
    dir.Write(records, "10\n20\n");
    ASSERT_EQ(chmod(records.c_str(), 0640), 0);
    ASSERT_EQ(symlink(records.substr(5).c_str(), "kept/hop"), 0);
    ASSERT_EQ(symlink((dir.path() + "/kept/hop").c_str(), "Rec.dat"), 0);
    game->LoadRecords();
    EXPECT_EQ(game->recordB, 20);
    EXPECT_EQ(Save(kModeB, 25), kLoadedLine);
    struct stat st;
    ASSERT_EQ(lstat("Rec.dat", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.Read(records), "10\n25\n");
    ASSERT_EQ(stat(records.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_NE(access(TempName("kept/").c_str(), F_OK), 0);
}

