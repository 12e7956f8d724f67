// The window procedure's handling of each message it acts on, and of those
// it leaves to the default processing.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

namespace {

constexpr int keyW = 0x57;
constexpr int keyF = 0x46;

LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return WndProc(nullptr, message, wParam, lParam);
}

class WindowProcedure : public ::testing::Test {
protected:
    void SetUp() override { input = Input(); }
    void TearDown() override { input = Input(); }
};

TEST_F(WindowProcedure, KeyDownAndUpSetAndClearTheVirtualKey)
{
    send(WM_KEYDOWN, keyW, 0x00110001);
    EXPECT_TRUE(input.isKeyDown(keyW));
    send(WM_KEYDOWN, keyW, 0x40110001); // auto-repeat
    EXPECT_TRUE(input.isKeyDown(keyW));
    send(WM_KEYUP, keyW, static_cast<LPARAM>(0xC0110001u));
    EXPECT_FALSE(input.isKeyDown(keyW));
}

TEST_F(WindowProcedure, SystemKeysAndCharactersAreNotRecorded)
{
    send(WM_SYSKEYDOWN, keyF, 0x20210001);
    send(WM_CHAR, 'f', 0x00210001);
    send(WM_SYSCHAR, 'f', 0x20210001);
    EXPECT_FALSE(input.isKeyDown(keyF));
    EXPECT_FALSE(input.isKeyDown('f'));
}

TEST_F(WindowProcedure, KeyCodesBeyondTheTableAreIgnored)
{
    send(WM_KEYDOWN, 0x1046);
    EXPECT_FALSE(input.isKeyDown(keyF));
    EXPECT_FALSE(input.isKeyDown(0x10));
}

TEST_F(WindowProcedure, MouseMoveUnpacksClientPixelsFromLParam)
{
    send(WM_MOUSEMOVE, 0, MAKELPARAM(100, 200));
    EXPECT_EQ(input.getMouseX(), 100);
    EXPECT_EQ(input.getMouseY(), 200);
    EXPECT_EQ(input.getMouseDeltaX(), -100);
    EXPECT_EQ(input.getMouseDeltaY(), -200);

    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 205));
    EXPECT_EQ(input.getMouseDeltaX(), 10);
    EXPECT_EQ(input.getMouseDeltaY(), -5);
}

TEST_F(WindowProcedure, MouseCoordinatesAreUnsignedSixteenBitValues)
{
    send(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 0x8000));
    EXPECT_EQ(input.getMouseX(), 65535);
    EXPECT_EQ(input.getMouseY(), 32768);
}

TEST_F(WindowProcedure, LeftButtonMessagesSetTheButton)
{
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(input.isLeftMouseButtonDown());
    send(WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, MAKELPARAM(5, 5));
    send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(input.isLeftMouseButtonDown());
}

TEST_F(WindowProcedure, SizeBeforeSetUpLeavesTheSceneUntouched)
{
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    const RECT rect = scene.getScreenRect();
    EXPECT_EQ(rect.right, 0);
    EXPECT_EQ(rect.bottom, 0);
    EXPECT_FALSE(scene.isContextCurrent());
}

TEST_F(WindowProcedure, DestroyPostsQuitWithCodeZero)
{
    send(WM_DESTROY);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

} // namespace
