// The record file: what each shape of Rec.dat loads, what a save writes, and that a
// save never writes into the old file. Missing, unreadable, unwritable and folder cases
// run against the real program in robustness_test.
#include <sys/stat.h>
#include <unistd.h>

#include "StartedGame.h"

using namespace testsupport;

namespace {

const std::string kLoadedLine = "OK: RecordFile was successfully loaded.\n";

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

TEST_F(RecordFixture, TwoLinesLoadAsModeAThenModeBWithTheirConsoleLines) {
    EXPECT_EQ(Load("123\n45\n"), kLoadedLine + "\nModeA Rec: 123\nModeB Rec: 45\n\n");
    EXPECT_EQ(game->recordA, 123);
    EXPECT_EQ(game->recordB, 45);
    EXPECT_EQ(game->recordMissing, 0);
}

TEST_F(RecordFixture, MissingFileLoadsZerosAndPrintsOnlyAnEmptyLine) {
    game->recordA = 7;
    game->recordB = 8;
    StartCapture();
    game->LoadRecords();
    EXPECT_EQ(StopCapture(), "\n");
    EXPECT_EQ(game->recordA, 0);
    EXPECT_EQ(game->recordB, 0);
    EXPECT_EQ(game->recordMissing, 1);
}

// Each read takes at most six characters with the line feed, and converts like atoi.
TEST_F(RecordFixture, LinesPairAsTheSevenByteReadsFallAndAMissingLineRepeatsTheOneAbove) {
    const struct { const char* text; int a, b; } cases[] = {
        {"123456\n789\n", 123456, 0},  // the second read gets only the line feed
        {"1234567\n89\n", 123456, 7},
        {"123\n", 123, 123},
        {"-42\nzz9\n", -42, 0},
    };
    for (const auto& c : cases) {
        Load(c.text);
        EXPECT_EQ(game->recordA, c.a) << c.text;
        EXPECT_EQ(game->recordB, c.b) << c.text;
    }
}

TEST_F(RecordFixture, EveryLoadReadsTheFileAgainAndAnEmptyOneRepeatsTheLastLineRead) {
    Load("1\n2\n");
    Load("30\n40\n");
    EXPECT_EQ(game->recordA, 30);
    EXPECT_EQ(game->recordB, 40);
    Load("");
    EXPECT_EQ(game->recordA, 40);
    EXPECT_EQ(game->recordB, 40);
}

TEST_F(RecordFixture, SaveRewritesBothLinesRaisingOnlyTheModePlayedOnAStrictlyHigherScore) {
    const struct { const char* before; int mode, score; const char* after; } cases[] = {
        {"10\n20\n", kModeB, 30, "10\n30\n"},
        {"010\n20\n", kModeA, 10, "10\n20\n"},  // equal: rewritten with the values loaded
        {"10\n020\n", kModeB, 5, "10\n20\n"},
        {"1234567\n89\n", kModeA, 3, "123456\n7\n"},
    };
    for (const auto& c : cases) {
        Load(c.before);
        EXPECT_EQ(Save(c.mode, c.score), kLoadedLine) << c.before;
        EXPECT_EQ(dir.Read("Rec.dat"), c.after) << c.before;
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
    EXPECT_NE(access("Rec.dat.tmp", F_OK), 0) << "no temporary file is left behind";
}

// A Rec.dat that is a symbolic link (for example into a synced folder) stays a link:
// the save replaces the file it points to, with that file's permission bits.
// Here through two links: one by absolute path into a folder, one relative to that folder.
TEST_F(RecordFixture, SaveThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    ASSERT_EQ(mkdir("kept", 0700), 0);
    dir.Write("kept/records", "10\n20\n");
    ASSERT_EQ(chmod("kept/records", 0640), 0);
    ASSERT_EQ(symlink("records", "kept/hop"), 0);
    ASSERT_EQ(symlink((dir.path() + "/kept/hop").c_str(), "Rec.dat"), 0);
    game->LoadRecords();
    EXPECT_EQ(game->recordB, 20);
    EXPECT_EQ(Save(kModeB, 25), kLoadedLine);
    struct stat st;
    ASSERT_EQ(lstat("Rec.dat", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.Read("kept/records"), "10\n25\n");
    ASSERT_EQ(stat("kept/records", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_NE(access("kept/records.tmp", F_OK), 0);
}

TEST_F(RecordFixture, SaveThroughALinkIntoAMissingFolderSaysSoAndWritesNothing) {
    ASSERT_EQ(symlink("gone/records", "Rec.dat"), 0);
    game->LoadRecords();
    EXPECT_EQ(Save(kModeA, 5), "Error: RecordFile could not be loaded.\n");
    struct stat st;
    EXPECT_EQ(lstat("Rec.dat", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(access("gone", F_OK), 0);
}
