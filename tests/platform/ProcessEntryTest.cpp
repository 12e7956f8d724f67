// The process entry, run as the real process start: main hands over to the
// program's WinMain and exits with its result.
#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"

#include <gtest/gtest.h>

namespace {
constexpr int probeExitMs = 10000;
}

TEST(ProcessEntry, PassesCommandLineAndDefaultShowModeAndReturnsWinMainsResult)
{
    const TempDirectory folder;
    SpawnedProcess::Options options;
    options.outputPath = folder.pathOf("output.txt");
    SpawnedProcess probe({ENTRY_PROBE, "42", "alpha", "beta"}, options);
    ASSERT_TRUE(probe.isStarted());
    int exitStatus = -1;
    ASSERT_TRUE(probe.waitForExit(probeExitMs, exitStatus));
    EXPECT_EQ(exitStatus, 42);
    // The program's own name is not part of the command line, as on Windows.
    EXPECT_EQ(probe.output(), "instance set, previous null, show 10, command line [42 alpha beta]\n");
}

TEST(ProcessEntry, EmptyCommandLineIsEmptyNotNull)
{
    const TempDirectory folder;
    SpawnedProcess::Options options;
    options.outputPath = folder.pathOf("output.txt");
    SpawnedProcess probe({ENTRY_PROBE}, options);
    int exitStatus = -1;
    ASSERT_TRUE(probe.waitForExit(probeExitMs, exitStatus));
    EXPECT_EQ(exitStatus, 0);
    EXPECT_EQ(probe.output(), "instance set, previous null, show 10, command line []\n");
}
