// Real pointer moves and clicks through XTest: messages come only while the
// pointer is over the client area, in client pixels, and without capture.
#include "tests/platform/DesktopTest.h"

namespace {
constexpr int leftButton = 1;
constexpr int rightButton = 3;
constexpr int titleBarDepth = 5; // pixels above the client's top edge, on the frame

bool isMoveTo(const MessageLog::Entry& entry, int x, int y)
{
    return entry.message == WM_MOUSEMOVE && entry.lParam == MAKELPARAM(x, y);
}
}

class Mouse : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        xWindow = showWindow("Mouse", hwnd);
        ASSERT_NE(xWindow, 0u);
        ASSERT_TRUE(driver().clientGeometry(xWindow, clientX, clientY, clientWidth, clientHeight));
        log().pumpFor(settleMs);
        log().clear();
    }

    // moves to a client point and waits for its WM_MOUSEMOVE
    bool moveInside(int x, int y)
    {
        driver().moveMouseTo(clientX + x, clientY + y);
        return log().pumpUntil(
            [&] {
                const auto moves = log().ofType(WM_MOUSEMOVE);
                return !moves.empty() && isMoveTo(moves.back(), x, y);
            },
            windowWaitMs);
    }

    void expectEveryMoveInside()
    {
        for (const auto& move : log().ofType(WM_MOUSEMOVE)) {
            EXPECT_LT(LOWORD(move.lParam), clientWidth);
            EXPECT_LT(HIWORD(move.lParam), clientHeight);
        }
    }

    HWND hwnd = nullptr;
    unsigned long xWindow = 0;
    int clientX = 0;
    int clientY = 0;
    int clientWidth = 0;
    int clientHeight = 0;
};

TEST_F(Mouse, MovesInsideArriveInClientPixels)
{
    ASSERT_TRUE(moveInside(10, 20)) << "no WM_MOUSEMOVE at client (10, 20)";
    const auto move = log().ofType(WM_MOUSEMOVE).back();
    EXPECT_EQ(move.hwnd, hwnd);
    EXPECT_EQ(move.wParam, 0u) << "no button is down";
    ASSERT_TRUE(moveInside(clientWidth - 1, clientHeight - 1)) << "the bottom-right client pixel is inside";
}

TEST_F(Mouse, MovesOverTheFrameAndOutsideAreNotSeen)
{
    ASSERT_TRUE(moveInside(5, 5));
    log().clear();
    driver().moveMouseTo(clientX + 20, clientY - titleBarDepth);
    int outsideX = 0;
    int outsideY = 0;
    pointOutside(xWindow, outsideX, outsideY);
    driver().moveMouseTo(outsideX, outsideY);
    ASSERT_TRUE(moveInside(30, 40));
    const auto moves = log().ofType(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u) << "only the move back inside is seen";
    EXPECT_TRUE(isMoveTo(moves[0], 30, 40));
}

TEST_F(Mouse, ButtonsInsideCarryPositionAndFlags)
{
    ASSERT_TRUE(moveInside(50, 60));
    driver().buttonDown(leftButton);
    ASSERT_TRUE(waitFor(WM_LBUTTONDOWN));
    driver().buttonUp(leftButton);
    ASSERT_TRUE(waitFor(WM_LBUTTONUP));
    const auto down = log().ofType(WM_LBUTTONDOWN)[0];
    const auto up = log().ofType(WM_LBUTTONUP)[0];
    EXPECT_EQ(down.lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(down.wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(up.lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(up.wParam, 0u);

    driver().buttonDown(rightButton);
    driver().buttonUp(rightButton);
    ASSERT_TRUE(waitFor(WM_RBUTTONUP));
    EXPECT_EQ(log().ofType(WM_RBUTTONDOWN)[0].wParam, static_cast<WPARAM>(MK_RBUTTON));
}

TEST_F(Mouse, DragMovesWithTheButtonFlag)
{
    ASSERT_TRUE(moveInside(100, 100));
    driver().buttonDown(leftButton);
    ASSERT_TRUE(waitFor(WM_LBUTTONDOWN));
    ASSERT_TRUE(moveInside(120, 90));
    EXPECT_EQ(log().ofType(WM_MOUSEMOVE).back().wParam, static_cast<WPARAM>(MK_LBUTTON));
    driver().buttonUp(leftButton);
    ASSERT_TRUE(waitFor(WM_LBUTTONUP));
}

TEST_F(Mouse, ReleaseOutsideTheClientAreaIsNotSeen)
{
    ASSERT_TRUE(moveInside(60, 60));
    driver().buttonDown(leftButton);
    ASSERT_TRUE(waitFor(WM_LBUTTONDOWN));
    int outsideX = 0;
    int outsideY = 0;
    pointOutside(xWindow, outsideX, outsideY);
    driver().moveMouseTo(outsideX, outsideY);
    driver().buttonUp(leftButton);
    ASSERT_TRUE(moveInside(70, 80)) << "the pointer came back";
    EXPECT_EQ(log().count(WM_LBUTTONUP), 0) << "there is no capture: the release happened elsewhere";
    expectEveryMoveInside();
    EXPECT_EQ(log().ofType(WM_MOUSEMOVE).back().wParam, 0u) << "the button is up again";
}
