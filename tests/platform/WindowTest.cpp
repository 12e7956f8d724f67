// The window on a real desktop: what creation, showing, resizing, painting
// and closing send, and what the window manager is told and draws.
#include "tests/platform/DesktopTest.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr int outerWidth = 1280; // what the program asks CreateWindowExA for
constexpr int outerHeight = 720;
constexpr int hiddenCheckMs = 300;
constexpr int resizedWidth = 800;
constexpr int resizedHeight = 500;

bool hasAction(const std::vector<std::string>& actions, const char* action)
{
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}
} // namespace

using Window = DesktopTest;

TEST_F(Window, CreationSendsCreateThenClientSizeBeforeAnythingElse)
{
    const HWND hwnd = log().createWindow("Creation order");
    ASSERT_NE(hwnd, nullptr);
    const auto& entries = log().entries();
    ASSERT_EQ(entries.size(), 3u) << "CreateWindowExA sends exactly NCCREATE, CREATE and SIZE";
    EXPECT_EQ(entries[0].message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(entries[1].message, static_cast<UINT>(WM_CREATE));
    const CREATESTRUCTA& create = entries[1].creation;
    EXPECT_EQ(create.cx, outerWidth);
    EXPECT_EQ(create.cy, outerHeight);
    EXPECT_EQ(static_cast<DWORD>(create.style), MessageLog::programStyle);
    EXPECT_EQ(entries[2].message, static_cast<UINT>(WM_SIZE));
    RECT client = {};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(entries[2].lParam, MAKELPARAM(client.right, client.bottom));
    EXPECT_EQ(entries[2].wParam, static_cast<WPARAM>(SIZE_RESTORED));

    ShowWindow(hwnd, SW_SHOWDEFAULT);
    const int shownSize = log().indexOf(WM_SIZE, 3);
    ASSERT_GE(shownSize, 0) << "ShowWindow sends WM_SIZE";
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(entries[shownSize].lParam, MAKELPARAM(client.right, client.bottom));
    for (int i = 3; i < shownSize; ++i) {
        EXPECT_EQ(entries[i].message, static_cast<UINT>(WM_SHOWWINDOW)) << "only WM_SHOWWINDOW comes first";
    }
    UpdateWindow(hwnd);
    EXPECT_GT(log().indexOf(WM_PAINT), shownSize);
}

TEST_F(Window, StartsHiddenAndShowWindowMapsItWithItsTitle)
{
    const HWND hwnd = log().createWindow("Hidden until shown");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(driver().waitForWindow("Hidden until shown", hiddenCheckMs), 0u);
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWDEFAULT)) << "ShowWindow answers whether it was visible before";
    const unsigned long xWindow = driver().waitForWindow("Hidden until shown", windowWaitMs);
    ASSERT_NE(xWindow, 0u);
    EXPECT_EQ(driver().windowTitle(xWindow), "Hidden until shown");
    EXPECT_TRUE(ShowWindow(hwnd, SW_SHOWDEFAULT));
}

TEST_F(Window, OuterSizeIsTheRequestedSizeFrameIncluded)
{
    HWND hwnd = nullptr;
    const unsigned long xWindow = showWindow("Outer size", hwnd);
    ASSERT_NE(xWindow, 0u);
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(driver().outerGeometry(xWindow, x, y, width, height));
    EXPECT_EQ(width, outerWidth);
    EXPECT_EQ(height, outerHeight);
    EXPECT_GE(x, 0) << "the window manager placed the frame on screen";
    EXPECT_GE(y, 0);

    int clientX = 0;
    int clientY = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    ASSERT_TRUE(driver().clientGeometry(xWindow, clientX, clientY, clientWidth, clientHeight));
    RECT client = {};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, clientWidth);
    EXPECT_EQ(client.bottom, clientHeight);
    EXPECT_LT(clientHeight, outerHeight) << "openbox draws a title bar";
}

// openbox keeps its minimise and maximise buttons whatever the Motif hints
// say; window managers that honour them (xfwm4, KWin, Mutter) drop them.
TEST_F(Window, FrameAsksForCloseAndResizeButNoMinimiseOrMaximise)
{
    HWND hwnd = nullptr;
    const unsigned long xWindow = showWindow("Frame functions", hwnd);
    ASSERT_NE(xWindow, 0u);
    EXPECT_TRUE(driver().hasMotifNoMinMax(xWindow));
    const std::vector<std::string> actions = driver().allowedActions(xWindow);
    EXPECT_TRUE(hasAction(actions, "_NET_WM_ACTION_CLOSE"));
    EXPECT_TRUE(hasAction(actions, "_NET_WM_ACTION_RESIZE"));
}

TEST_F(Window, OverlappedWindowKeepsItsMinimiseAndMaximiseBoxes)
{
    HWND hwnd = nullptr;
    const unsigned long xWindow = showWindow("Overlapped", hwnd, WS_OVERLAPPEDWINDOW);
    ASSERT_NE(xWindow, 0u);
    EXPECT_FALSE(driver().hasMotifNoMinMax(xWindow));
    const std::vector<std::string> actions = driver().allowedActions(xWindow);
    EXPECT_TRUE(hasAction(actions, "_NET_WM_ACTION_MINIMIZE"));
    EXPECT_TRUE(hasAction(actions, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_TRUE(hasAction(actions, "_NET_WM_ACTION_RESIZE"));
}

TEST_F(Window, ResizeSendsSizeAndClientRectFollows)
{
    HWND hwnd = nullptr;
    const unsigned long xWindow = showWindow("Resized", hwnd);
    ASSERT_NE(xWindow, 0u);
    log().clear();
    driver().resizeClient(xWindow, resizedWidth, resizedHeight);
    ASSERT_TRUE(log().pumpUntil(
        [] {
            const auto sizes = log().ofType(WM_SIZE);
            return !sizes.empty() && sizes.back().lParam == MAKELPARAM(resizedWidth, resizedHeight);
        },
        windowWaitMs))
        << "no WM_SIZE for the new size";
    RECT client = {};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, resizedWidth);
    EXPECT_EQ(client.bottom, resizedHeight);
}

TEST_F(Window, CloseRequestSendsCloseThenDestroyThenQuit)
{
    HWND hwnd = nullptr;
    const unsigned long xWindow = showWindow("Closed by the frame", hwnd);
    ASSERT_NE(xWindow, 0u);
    log().pumpFor(settleMs);
    log().clear();
    driver().requestClose(xWindow);
    ASSERT_TRUE(waitFor(WM_QUIT));
    const int close = log().indexOf(WM_CLOSE);
    const int destroy = log().indexOf(WM_DESTROY);
    const int finalDestroy = log().indexOf(WM_NCDESTROY);
    const int quit = log().indexOf(WM_QUIT);
    ASSERT_GE(close, 0);
    EXPECT_LT(close, destroy);
    EXPECT_LT(destroy, finalDestroy);
    EXPECT_LT(finalDestroy, quit);
    EXPECT_EQ(log().entries()[quit].wParam, 0u);
    EXPECT_EQ(GetDC(hwnd), nullptr) << "the window no longer exists";
    EXPECT_TRUE(driver().waitForWindowGone(xWindow, windowWaitMs));
}

TEST_F(Window, CreateAnsweringMinusOneDestroysTheWindowAndFails)
{
    log().failCreate = true;
    EXPECT_EQ(log().createWindow("Refused"), nullptr);
    const int destroy = log().indexOf(WM_DESTROY);
    EXPECT_GT(destroy, log().indexOf(WM_CREATE));
    EXPECT_GT(log().indexOf(WM_NCDESTROY), destroy);
    EXPECT_EQ(log().count(WM_SIZE), 0);
    EXPECT_EQ(driver().waitForWindow("Refused", hiddenCheckMs), 0u);
}

TEST_F(Window, UpdateWindowPaintsOnlyWhileInvalid)
{
    HWND hwnd = nullptr;
    ASSERT_NE(showWindow("Painted", hwnd), 0u);
    EXPECT_EQ(log().count(WM_PAINT), 1);
    UpdateWindow(hwnd);
    EXPECT_EQ(log().count(WM_PAINT), 1) << "the default processing validated the window";
}

TEST_F(Window, EachWindowHasItsOwnLastingDeviceContext)
{
    const HWND first = log().createWindow("First context");
    const HWND second = log().createWindow("Second context");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const HDC firstContext = GetDC(first);
    const HDC secondContext = GetDC(second);
    EXPECT_NE(firstContext, nullptr);
    ShowWindow(first, SW_SHOWDEFAULT);
    EXPECT_EQ(GetDC(first), firstContext) << "showing the window keeps its device context";
    DefWindowProcA(first, WM_CLOSE, 0, 0);
    EXPECT_EQ(GetDC(first), nullptr);
    EXPECT_EQ(GetDC(second), secondContext) << "the other window's outlives it";
}

TEST_F(Window, PaintStaysQueuedUntilTheWindowIsValidated)
{
    const HWND hwnd = log().createWindow("Paint waits");
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    MSG msg = {};
    // Lets the exposes of mapping in without dispatching anything.
    const auto settled = std::chrono::steady_clock::now() + std::chrono::milliseconds(settleMs);
    waitUntil([&] {
        PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE);
        return std::chrono::steady_clock::now() >= settled;
    });
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hwnd);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE))
        << "taking WM_PAINT does not validate";
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE))
        << "the default processing validated";
}

TEST_F(Window, VisibleStyleShowsTheWindowDuringCreation)
{
    const HWND hwnd = log().createWindow("Visible at once", MessageLog::programStyle | WS_VISIBLE);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(log().count(WM_SIZE), 2) << "creation and showing each send WM_SIZE";
    EXPECT_EQ(log().count(WM_SHOWWINDOW), 1);
    EXPECT_NE(driver().waitForWindow("Visible at once", windowWaitMs), 0u);
}
