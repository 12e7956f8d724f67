// The program's window, its input, its picture and the ways it ends, on a
// private virtual display with a window manager.
#include "tests/e2e/TestedHost.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace {

constexpr int exitTimeoutMs = 30000;
constexpr int boxTimeoutMs = 20000;
constexpr int escapeCode = 0x1B;
constexpr int walkFrames = 8; // frames W is held for
constexpr int pointerSteps = 10;

class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(session.failure(), ""); }

    ProgramSession session{testedHost};
};

TEST_F(ProgramWindow, ReportsItsTitleClassAndOuterSizePresentsFramesAndClosingEndsWithZero)
{
    const ProgramSession::WindowReport report = session.report();
    EXPECT_EQ(report.title, "Brindlemoor");
    // Windows names the class the program registered; X the program
    EXPECT_EQ(report.className, testedHost == ProgramHost::Windows ? "FirstWindowClass" : "brindlemoor");
    EXPECT_EQ(report.outerWidth, 1280);
    EXPECT_EQ(report.outerHeight, 720);
    // the frame and the caption take their share of the outer size
    EXPECT_LT(report.clientWidth, 1280);
    EXPECT_LT(report.clientHeight, 720);
    EXPECT_GT(report.clientHeight, 600);
    EXPECT_TRUE(session.presentsFrames(3));
    session.captureSettled();
    EXPECT_EQ(session.close(), std::optional<int>(0));
}

TEST_F(ProgramWindow, PictureFillsTheClientAreaAndFollowsAResizeAndAltF4EndsWithZero)
{
    const DisplayDriver::Image frame = session.captureSettled();
    ASSERT_EQ(frame.width, session.clientWidth());
    // the eye stands near the left end of the yard looking level along it:
    // ground below the horizon, to the right edge and the bottom
    EXPECT_GT(
        shareNotColour(frame, frame.width / 2, frame.height * 5 / 8, frame.width, frame.height, 0, 0, 0),
        0.99);

    session.resize(1600, 900);
    const DisplayDriver::Image resized = session.captureSettled();
    ASSERT_EQ(resized.width, 1600);
    ASSERT_EQ(resized.height, 900);
    // ground right out to the new corner, which the old viewport never
    // reached: outside it the frame is cleared to black
    EXPECT_GT(shareNotColour(resized, 1300, 700, 1600, 900, 0, 0, 0), 0.9);

    session.driver().keyDown(XK_Alt_L);
    session.driver().tapKey(XK_F4);
    session.driver().keyUp(XK_Alt_L);
    session.driver().sync();
    EXPECT_EQ(session.waitForExit(exitTimeoutMs), std::optional<int>(0));
}

TEST_F(ProgramWindow, WMovesAndALeftDragTurnsTheViewButThePointerAloneAndAltWDoNot)
{
    const DisplayDriver::Image start = session.captureSettled();

    int rootX = 0, rootY = 0, width = 0, height = 0;
    session.driver().clientGeometry(session.window(), rootX, rootY, width, height);
    // each move taken by a frame of its own, as a hand makes them
    for (int step = 0; step < pointerSteps; ++step) {
        session.driver().moveMouseTo(rootX + width / 4 + step * 30, rootY + height / 2);
        session.driver().sync();
        ASSERT_TRUE(session.driver().waitForInputTaken(session.window())) << "the frames stopped";
    }
    EXPECT_LT(differingShare(start, session.captureSettled()), 0.001) << "moving without a button turned";

    // keys held with Alt arrive as system keys
    session.driver().keyDown(XK_Alt_L);
    session.holdKey(XK_w, walkFrames);
    session.driver().keyUp(XK_Alt_L);
    session.driver().sync();
    const DisplayDriver::Image altW = session.captureSettled();
    EXPECT_LT(differingShare(start, altW), 0.001) << "Alt+W moved";

    session.holdKey(XK_w, walkFrames);
    const DisplayDriver::Image walked = session.captureSettled();
    EXPECT_GT(differingShare(altW, walked), 0.005) << "W did not move";

    session.drag(width / 2, height / 2, width / 2 + 200, height / 2);
    EXPECT_GT(differingShare(walked, session.captureSettled()), 0.02) << "the drag did not turn";
}

TEST_F(ProgramWindow, HeldEscapeEndsWithTheLastMessagesWParam)
{
    // Escape's WM_KEYDOWN, then the WM_CHAR that TranslateMessage posts for it
    EXPECT_EQ(session.holdUntilExit(XK_Escape), std::optional<int>(escapeCode));
}

TEST_F(ProgramWindow, BackspaceEndsWithZero)
{
    EXPECT_EQ(session.holdUntilExit(XK_BackSpace), std::optional<int>(0));
}

TEST(ProgramWithoutOpenGl, ReportsThePixelFormatAndEndsWithZeroWithoutTouchingItsFiles)
{
    // A display without GLX: the window opens, but no OpenGL pixel format
    // can be had. Set-up must not load images into a context that is not
    // there.
    ProgramSession::Options options;
    options.host = testedHost;
    options.withGlx = false;
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    EXPECT_NE(session.errorBoxText(boxTimeoutMs).find("ChoosePixelFormat failed"), std::string::npos);
    ASSERT_TRUE(session.dismissErrorBox(exitTimeoutMs));
    EXPECT_EQ(session.waitForExit(exitTimeoutMs), std::optional<int>(0));
    EXPECT_EQ(session.standardOutput(), "");
}

} // namespace
