// MessageBoxA in a child process: a real modal box on a display, closed
// with Return through XTest; a report on standard error without one.
#include "harness/DisplayDriver.h"
#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"
#include "harness/VirtualDisplay.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {
constexpr int headlessExitMs = 5000; // no display: the box call returns at once
constexpr int boxShowMs = 10000;
constexpr int blockedMs = 500; // the box is still up this long after it appeared
constexpr int idOk = 1;
}

TEST(MessageBox, WithoutDisplayReportsOnStandardErrorAndReturnsOk)
{
    const TempDirectory folder;
    SpawnedProcess::Options options;
    options.outputPath = folder.pathOf("headless-box.txt");
    options.unsetEnvironment = {"DISPLAY", "WAYLAND_DISPLAY"};
    SpawnedProcess probe({MESSAGE_BOX_PROBE, "ChoosePixelFormat failed", "Error"}, options);
    int exitStatus = -1;
    ASSERT_TRUE(probe.waitForExit(headlessExitMs, exitStatus)) << "MessageBoxA blocked without a display";
    EXPECT_EQ(exitStatus, idOk);
    EXPECT_NE(probe.output().find("Error: ChoosePixelFormat failed\n"), std::string::npos);
}

TEST(MessageBox, NullCaptionIsErrorAsOnWindows)
{
    const TempDirectory folder;
    SpawnedProcess::Options options;
    options.outputPath = folder.pathOf("caption-box.txt");
    options.unsetEnvironment = {"DISPLAY", "WAYLAND_DISPLAY"};
    SpawnedProcess probe({MESSAGE_BOX_PROBE, "Model failed to load"}, options);
    int exitStatus = -1;
    ASSERT_TRUE(probe.waitForExit(headlessExitMs, exitStatus));
    EXPECT_NE(probe.output().find("Error: Model failed to load\n"), std::string::npos);
}

TEST(MessageBox, ShowsModalBoxUntilReturnIsPressed)
{
    VirtualDisplay display;
    ASSERT_TRUE(display.isReady()) << display.failure();
    DisplayDriver driver(display.name());
    ASSERT_TRUE(driver.isOpen());

    const TempDirectory folder;
    SpawnedProcess::Options options;
    options.outputPath = folder.pathOf("shown-box.txt");
    options.environment = {{"DISPLAY", display.name()}};
    SpawnedProcess probe({MESSAGE_BOX_PROBE, "SetPixelFormat failed", "Box under test"}, options);
    const unsigned long box = driver.waitForWindow("Box under test", boxShowMs);
    ASSERT_NE(box, 0u) << "no message box appeared";
    // The report is written before the box blocks.
    EXPECT_NE(probe.output().find("Box under test: SetPixelFormat failed\n"), std::string::npos);

    int exitStatus = -1;
    EXPECT_FALSE(probe.waitForExit(blockedMs, exitStatus)) << "MessageBoxA returned while its box was up";
    ASSERT_TRUE(driver.focus(box));
    driver.tapKey(XK_Return);
    ASSERT_TRUE(probe.waitForExit(boxShowMs, exitStatus)) << "Return did not close the box";
    EXPECT_EQ(exitStatus, idOk);
    EXPECT_TRUE(driver.waitForWindowGone(box, boxShowMs));
}
