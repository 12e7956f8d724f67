// The queue's order with real input waiting: posted messages before input,
// WM_QUIT after everything, PM_NOREMOVE leaves what it shows.
#include "tests/platform/DesktopTest.h"

#include <X11/keysym.h>

class MessageOrder : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        const unsigned long xWindow = showWindow("Message order", hwnd);
        ASSERT_NE(xWindow, 0u);
        ASSERT_TRUE(driver().focus(xWindow));
        log().pumpFor(settleMs);
        log().drain();
        log().clear();
    }

    // waits, without taking anything, until a message of this type waits
    static bool waitQueued(UINT message)
    {
        MSG msg = {};
        return waitUntil([&] { return PeekMessageA(&msg, nullptr, message, message, PM_NOREMOVE) != 0; });
    }

    // the next message, WM_PAINT aside: an expose may come at any time
    static bool takeNext(MSG& msg)
    {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_PAINT) {
                return true;
            }
            DispatchMessageA(&msg);
        }
        return false;
    }

    HWND hwnd = nullptr;
};

TEST_F(MessageOrder, QuitComesOnlyAfterTheWaitingInput)
{
    driver().tapKey(XK_q);
    ASSERT_TRUE(waitQueued(WM_KEYUP));
    PostQuitMessage(7);
    MSG msg = {};
    ASSERT_TRUE(takeNext(msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.hwnd, hwnd);
    ASSERT_TRUE(takeNext(msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    ASSERT_TRUE(takeNext(msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(takeNext(msg));
}

TEST_F(MessageOrder, PostedCharacterComesBeforeWaitingInput)
{
    driver().tapKey(XK_a);
    driver().tapKey(XK_b);
    MSG keyDown = {};
    ASSERT_TRUE(waitUntil([&] { return takeNext(keyDown); }));
    ASSERT_EQ(keyDown.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(waitQueued(WM_KEYDOWN)) << "B's key-down waits too";
    TranslateMessage(&keyDown);
    MSG msg = {};
    ASSERT_TRUE(takeNext(msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('a'));
    ASSERT_TRUE(takeNext(msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('A'));
}

TEST_F(MessageOrder, NoRemovePeekShowsWhatTheNextRemoveTakes)
{
    driver().tapKey(XK_z);
    ASSERT_TRUE(waitQueued(WM_KEYDOWN));
    MSG peeked = {};
    ASSERT_TRUE(PeekMessageA(&peeked, nullptr, WM_KEYDOWN, WM_KEYUP, PM_NOREMOVE));
    MSG again = {};
    ASSERT_TRUE(PeekMessageA(&again, nullptr, WM_KEYDOWN, WM_KEYUP, PM_NOREMOVE));
    MSG taken = {};
    ASSERT_TRUE(PeekMessageA(&taken, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(peeked.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(again.message, peeked.message);
    EXPECT_EQ(taken.message, peeked.message);
    EXPECT_EQ(taken.lParam, peeked.lParam);
}

TEST_F(MessageOrder, MessageRangeFilterSkipsOtherMessages)
{
    driver().tapKey(XK_m);
    ASSERT_TRUE(waitQueued(WM_KEYUP));
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_KEYUP, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    const HWND otherWindow = reinterpret_cast<HWND>(0x10);
    EXPECT_FALSE(PeekMessageA(&msg, otherWindow, 0, 0, PM_REMOVE))
        << "the waiting key-down is not the other window's";
    ASSERT_TRUE(takeNext(msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN)) << "the skipped key-down still waits";
}
