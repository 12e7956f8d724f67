// The program's window, its input, its frames and the ways it ends, on a
// private virtual display with a window manager.
#include "harness/ApiTrace.h"
#include "harness/ProgramSession.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace {

constexpr int exitTimeoutMs = 10000;
constexpr int escapeCode = 0x1B;

class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(session.failure(), ""); }

    ProgramSession session;
};

TEST_F(ProgramWindow, IsTitledBrindlemoorWithAnOuterSizeOf1280By720)
{
    EXPECT_EQ(session.driver().windowTitle(session.window()), "Brindlemoor");
    int x = 0, y = 0, outerWidth = 0, outerHeight = 0;
    ASSERT_TRUE(session.driver().outerGeometry(session.window(), x, y, outerWidth, outerHeight));
    EXPECT_EQ(outerWidth, 1280);
    EXPECT_EQ(outerHeight, 720);
    // the frame and the caption take their share of the outer size
    EXPECT_LT(session.clientWidth(), 1280);
    EXPECT_LT(session.clientHeight(), 720);
    EXPECT_GT(session.clientHeight(), 600);
}

TEST_F(ProgramWindow, DrawsTheViewIntoTheWholeClientArea)
{
    const DisplayDriver::Image frame = session.captureSettled();
    ASSERT_EQ(frame.width, session.clientWidth());
    // the eye stands near the left end of the yard looking level along it:
    // ground below the horizon, to the right edge and the bottom
    EXPECT_GT(
        shareNotColour(frame, frame.width / 2, frame.height * 5 / 8, frame.width, frame.height, 0, 0, 0),
        0.99);
}

TEST_F(ProgramWindow, ResizingFollowsTheNewClientSize)
{
    session.captureSettled();
    session.resize(1600, 900);
    const DisplayDriver::Image frame = session.captureSettled();
    ASSERT_EQ(frame.width, 1600);
    ASSERT_EQ(frame.height, 900);
    // ground right out to the new corner, which the old viewport never reached
    EXPECT_GT(shareNotColour(frame, 1300, 700, 1600, 900, 0, 0, 0), 0.9);
}

TEST_F(ProgramWindow, HoldingWMovesTheView)
{
    const DisplayDriver::Image before = session.captureSettled();
    session.holdKey(XK_w, 400);
    const DisplayDriver::Image after = session.captureSettled();
    EXPECT_GT(differingShare(before, after), 0.005);
}

TEST_F(ProgramWindow, DraggingWithTheLeftButtonTurnsTheViewAndMovingAloneDoesNot)
{
    const DisplayDriver::Image before = session.captureSettled();

    int rootX = 0, rootY = 0, width = 0, height = 0;
    session.driver().clientGeometry(session.window(), rootX, rootY, width, height);
    for (int step = 0; step < 10; ++step) {
        session.driver().moveMouseTo(rootX + width / 4 + step * 30, rootY + height / 2);
        session.driver().sync();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const DisplayDriver::Image moved = session.captureSettled();
    EXPECT_LT(differingShare(before, moved), 0.001);

    session.drag(width / 2, height / 2, width / 2 + 200, height / 2);
    const DisplayDriver::Image turned = session.captureSettled();
    EXPECT_GT(differingShare(before, turned), 0.02);
}

TEST_F(ProgramWindow, KeysHeldWithAltNeverReachTheCamera)
{
    const DisplayDriver::Image before = session.captureSettled();
    session.driver().keyDown(XK_Alt_L);
    session.holdKey(XK_w, 300);
    session.driver().keyUp(XK_Alt_L);
    session.driver().sync();
    const DisplayDriver::Image after = session.captureSettled();
    EXPECT_LT(differingShare(before, after), 0.001);
}

TEST_F(ProgramWindow, HeldEscapeEndsWithTheLastMessagesWParam)
{
    session.captureSettled();
    session.driver().keyDown(XK_Escape);
    session.driver().sync();
    const std::optional<int> status = session.waitForExit(exitTimeoutMs);
    session.driver().keyUp(XK_Escape);
    ASSERT_TRUE(status.has_value());
    // Escape's WM_KEYDOWN, then the WM_CHAR that TranslateMessage posts for it
    EXPECT_EQ(*status, escapeCode);
}

TEST_F(ProgramWindow, BackspaceEndsWithZero)
{
    session.captureSettled();
    // held, not tapped: a press and release between two frames is never seen
    session.driver().keyDown(XK_BackSpace);
    session.driver().sync();
    EXPECT_EQ(session.waitForExit(exitTimeoutMs), std::optional<int>(0));
}

TEST_F(ProgramWindow, ClosingTheWindowEndsWithZero)
{
    session.captureSettled();
    EXPECT_EQ(session.close(), std::optional<int>(0));
}

TEST_F(ProgramWindow, AltF4EndsWithZero)
{
    session.captureSettled();
    session.driver().keyDown(XK_Alt_L);
    session.driver().tapKey(XK_F4);
    session.driver().keyUp(XK_Alt_L);
    session.driver().sync();
    EXPECT_EQ(session.waitForExit(exitTimeoutMs), std::optional<int>(0));
}

TEST(ProgramWithoutOpenGl, ReportsThePixelFormatAndEndsWithZeroWithoutTouchingItsFiles)
{
    // A display without GLX: the window opens, but no OpenGL pixel format
    // can be had. Set-up must not load images into a context that is not
    // there.
    ProgramSession::Options options;
    options.withGlx = false;
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    ASSERT_TRUE(session.dismissErrorBox(exitTimeoutMs));
    EXPECT_EQ(session.waitForExit(exitTimeoutMs), std::optional<int>(0));
    EXPECT_NE(session.standardError().find("ChoosePixelFormat failed"), std::string::npos);
    EXPECT_EQ(session.standardOutput(), "");
}

class TracedProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramSession::Options options;
        options.traced = true;
        session = std::make_unique<ProgramSession>(options);
        ASSERT_EQ(session->failure(), "");
    }

    // ends the program and reads back its calls
    std::vector<ApiTrace::Call> finish()
    {
        EXPECT_EQ(session->close(), std::optional<int>(0));
        return session->recordedCalls();
    }

    std::unique_ptr<ProgramSession> session;
};

TEST_F(TracedProgram, SizeMessagesBeforeSetUpMakeNoOpenGlCalls)
{
    session->captureSettled();
    const int width = session->clientWidth();
    const int height = session->clientHeight();
    const std::vector<ApiTrace::Call> calls = finish();
    ASSERT_FALSE(calls.empty());
    // Until set-up's first viewport only context creation and its queries run.
    const size_t viewport = ApiTrace::indexOf(calls, "glViewport");
    ASSERT_LT(viewport, calls.size());
    for (size_t i = 0; i < viewport; ++i) {
        const std::string& name = calls[i].name;
        EXPECT_TRUE(name.rfind("glX", 0) == 0 || name.rfind("glGet", 0) == 0) << "before set-up: " << name;
    }
    EXPECT_EQ(calls[viewport].numbers(), (std::vector<double>{0, 0, double(width), double(height)}));
    EXPECT_EQ(calls[viewport + 1].name, "glMatrixMode");
}

TEST_F(TracedProgram, ResizeSetsViewportAndPerspectiveForTheNewClientSize)
{
    session->captureSettled();
    session->resize(1000, 500);
    session->captureSettled();
    const std::vector<ApiTrace::Call> calls = finish();

    size_t viewport = calls.size();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name == "glViewport" && calls[i].numbers() == std::vector<double>{0, 0, 1000, 500}) {
            viewport = i;
        }
    }
    ASSERT_LT(viewport + 6, calls.size());
    EXPECT_EQ(calls[viewport + 1].name, "glMatrixMode");
    EXPECT_EQ(calls[viewport + 1].arguments, std::vector<std::string>{"GL_PROJECTION"});
    EXPECT_EQ(calls[viewport + 2].name, "glLoadIdentity");
    // GLU's perspective multiplies in its matrix: x scale = cot(22.5 deg) / aspect
    ASSERT_EQ(calls[viewport + 3].name, "glMultMatrixd");
    const double yScale = 1.0 / std::tan(45.0 * M_PI / 360.0);
    const std::vector<double> matrix = calls[viewport + 3].numbers();
    ASSERT_EQ(matrix.size(), 16u);
    EXPECT_NEAR(matrix[0], yScale / 2.0, 1e-5);
    EXPECT_NEAR(matrix[5], yScale, 1e-5);
    EXPECT_EQ(calls[viewport + 4].name, "glMatrixMode");
    EXPECT_EQ(calls[viewport + 4].arguments, std::vector<std::string>{"GL_MODELVIEW"});
    EXPECT_EQ(calls[viewport + 5].name, "glLoadIdentity");
}

} // namespace
