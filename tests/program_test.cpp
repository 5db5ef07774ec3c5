// The whole program under the dummy driver: start-up lines in order, the exit status,
// and what a run that never plays a round leaves on disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include "GameProcess.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {
const std::string kSeparator(65, '_');
}

TEST(Program, PrintsSheetThenRecordsThenMapLinesAndQuitsFromTheTitleWithZero) {
    ScratchDir dir;
    WriteTestSheet();
    dir.Write("Rec.dat", "12\n34\n");
    GameProcess game(dir.path());
    ASSERT_TRUE(game.WaitFor(kSeparator + "\n", 10)) << game.output();
    game.RequestQuit();
    EXPECT_EQ(game.WaitForExit(), 0) << game.output();
    EXPECT_TRUE(game.exitedNormally());
    const std::string expectedStart =
        "OK: MaterialFile was successfully loaded.\n\n"
        "OK: RecordFile was successfully loaded.\n\n"
        "ModeA Rec: 12\nModeB Rec: 34\n\n"
        "Error: MapDataFile could not be loaded.\n\n";
    EXPECT_EQ(game.output().substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(dir.Read("Rec.dat"), "12\n34\n") << "no round was played, nothing saved";
}

TEST(Program, QuittingFromTheFirstTitleWritesNoRecordFile) {
    ScratchDir dir;
    WriteTestSheet();
    GameProcess game(dir.path());
    ASSERT_TRUE(game.WaitFor(kSeparator, 10)) << game.output();
    game.RequestQuit();
    EXPECT_EQ(game.WaitForExit(), 0);
    EXPECT_EQ(game.output().rfind("OK: MaterialFile was successfully loaded.\n\n\n", 0), 0u)
        << "the missing record file shows only as an empty line:\n" << game.output();
    EXPECT_NE(access("Rec.dat", F_OK), 0);
}

TEST(Program, MissingSpriteSheetIsReportedAndEndsWithStatusOne) {
    ScratchDir dir;
    dir.Write("Rec.dat", "5\n6\n");
    GameProcess game(dir.path());
    EXPECT_EQ(game.WaitForExit(), 1);
    EXPECT_TRUE(game.exitedNormally()) << "no crash, signal " << game.signal();
    EXPECT_EQ(game.output(), "Error: MaterialFile could not be loaded.\n");
    EXPECT_EQ(dir.Read("Rec.dat"), "5\n6\n");
}
