// The arm64 program, cross-built, run under qemu-user with arm64 Mesa's
// software rasteriser on a private virtual display, held against the
// program built for this machine: one session, its window, its images, its
// first picture and its end.
#include "harness/ProgramSession.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace {

constexpr int escapeCode = 0x1B;
constexpr int emulatedExitTimeoutMs = 60000;
// Share of pixels that may differ by more than the comparison's colour
// tolerance: the two builds' floating point and the two Mesa builds'
// generated code may round an edge pixel or a texel differently, no more
// (none did in 20 runs on Debian 12).
constexpr double pictureTolerance = 0.002;

TEST(Arm64Program, ShowsItsWindowLoadsEveryImageDrawsThisMachinesPictureAndEscapeEndsWith27)
{
    DisplayDriver::Image native;
    {
        ProgramSession session(ProgramHost::Linux);
        ASSERT_EQ(session.failure(), "");
        native = session.captureSettled();
        EXPECT_EQ(session.close(), std::optional<int>(0));
    }

    ProgramSession::Options options;
    options.program = BRINDLEMOOR_ARM64_PROGRAM;
    options.emulator = {BRINDLEMOOR_ARM64_EMULATOR};
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    EXPECT_EQ(session.report().title, "Brindlemoor");
    const DisplayDriver::Image emulated = session.captureSettled();
    EXPECT_LT(differingShare(native, emulated), pictureTolerance);
    EXPECT_EQ(session.holdUntilExit(XK_Escape, emulatedExitTimeoutMs), std::optional<int>(escapeCode));
    // the program says nothing of an image or model it loaded
    EXPECT_EQ(session.standardOutput(), "");
}

} // namespace
