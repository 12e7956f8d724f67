#include "tests/platform/DesktopTest.h"

#include "harness/VirtualDisplay.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {
constexpr int screenWidth = 1920; // VirtualDisplay's screen
constexpr int outsideMargin = 40; // pixels between a window's frame and a point outside it
constexpr int pollSleepMs = 2;
constexpr BYTE programColorBits = 16;
constexpr BYTE programDepthBits = 16;

struct Desktop {
    std::unique_ptr<VirtualDisplay> display;
    std::unique_ptr<DisplayDriver> driver;
};

Desktop& desktop(bool withGlx)
{
    static Desktop shared;
    if (shared.display == nullptr) {
        shared.display = std::make_unique<VirtualDisplay>(true, withGlx);
        if (shared.display->isReady()) {
            setenv("DISPLAY", shared.display->name().c_str(), 1);
            shared.driver = std::make_unique<DisplayDriver>(shared.display->name());
        }
    }
    return shared;
}
}

bool DesktopTest::withGlx = true;

void DesktopTest::SetUp()
{
    Desktop& shared = desktop(withGlx);
    ASSERT_TRUE(shared.display->isReady()) << shared.display->failure();
    ASSERT_TRUE(shared.driver->isOpen());
    log().clear();
    log().failCreate = false;
}

void DesktopTest::TearDown()
{
    log().destroyWindows();
    log().drain();
    log().clear();
}

DisplayDriver& DesktopTest::driver()
{
    return *desktop(withGlx).driver;
}

PIXELFORMATDESCRIPTOR DesktopTest::programPixelFormat()
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = programColorBits;
    pfd.cDepthBits = programDepthBits;
    return pfd;
}

unsigned long DesktopTest::showWindow(const char* title, HWND& hwnd, DWORD style)
{
    hwnd = log().createWindow(title, style);
    if (hwnd == nullptr) {
        return 0;
    }
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    UpdateWindow(hwnd);
    return driver().waitForWindow(title, windowWaitMs);
}

void DesktopTest::pointOutside(unsigned long xWindow, int& rootX, int& rootY)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    driver().outerGeometry(xWindow, x, y, width, height);
    const bool roomOnRight = x + width + outsideMargin < screenWidth;
    rootX = roomOnRight ? x + width + outsideMargin : x - outsideMargin;
    rootY = y + height / 2;
}

bool DesktopTest::waitFor(UINT message, int count)
{
    return log().pumpUntil([&] { return log().count(message) >= count; }, windowWaitMs);
}

bool DesktopTest::waitUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(windowWaitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pollSleepMs));
    }
    return true;
}
