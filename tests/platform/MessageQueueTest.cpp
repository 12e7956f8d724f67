// The thread's queue without any window: the quit flag, empty peeks and the
// calls that take a message.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
void drainQueue()
{
    MSG msg = {};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
}

TEST(MessageQueue, EmptyQueueGivesFalse)
{
    drainQueue();
    MSG msg = {};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(MessageQueue, QuitCarriesTheCodeAndIsTakenOnce)
{
    drainQueue();
    PostQuitMessage(-3);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(static_cast<int>(msg.wParam), -3);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, NoRemovePeekLeavesTheQuitPending)
{
    drainQueue();
    PostQuitMessage(5);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<int>(msg.wParam), 5);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, QuitIgnoresTheMessageRangeAsOnWindows)
{
    drainQueue();
    PostQuitMessage(0);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST(MessageQueue, LaterQuitReplacesTheCode)
{
    drainQueue();
    PostQuitMessage(1);
    PostQuitMessage(2);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, ThreadMessagesHaveNoProcedureToDispatchTo)
{
    MSG quit = {};
    quit.message = WM_QUIT;
    EXPECT_EQ(DispatchMessageA(&quit), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, TranslateMessageAnswersForKeyMessagesOnly)
{
    drainQueue();
    MSG key = {};
    key.message = WM_KEYUP;
    key.wParam = 'W';
    EXPECT_TRUE(TranslateMessage(&key));
    key.message = WM_KEYDOWN;
    // A key the layer never saw pressed types nothing, so nothing is posted.
    EXPECT_TRUE(TranslateMessage(&key));
    MSG msg = {};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    key.message = WM_MOUSEMOVE;
    EXPECT_FALSE(TranslateMessage(&key));
    EXPECT_FALSE(TranslateMessage(nullptr));
}

TEST(MessageQueue, OtherThreadsHaveTheirOwnQueue)
{
    drainQueue();
    PostQuitMessage(9);
    BOOL otherSawMessage = TRUE;
    std::thread other([&] {
        MSG msg = {};
        otherSawMessage = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    });
    other.join();
    EXPECT_FALSE(otherSawMessage);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 9u);
}
