// The driver knows when a window presents a frame, so a test waits for
// frames rather than for time: on a busy machine a frame may take far longer
// than usual, and input sent meanwhile must have reached one before the
// picture is judged.
#include "harness/DisplayDriver.h"
#include "harness/VirtualDisplay.h"

#include <gtest/gtest.h>
// after gtest: Xlib's macros (None, Bool) would break its templates
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {
constexpr int windowSize = 64;
constexpr int quietWaitMs = 300;
constexpr int drawWaitMs = 10000;

// draws into the window over a connection of its own, as a program does
void drawInto(const std::string& displayName, unsigned long window)
{
    Display* painter = XOpenDisplay(displayName.c_str());
    ASSERT_NE(painter, nullptr);
    const GC gc = XCreateGC(painter, window, 0, nullptr);
    XSetForeground(painter, gc, WhitePixel(painter, DefaultScreen(painter)));
    XFillRectangle(painter, window, gc, 0, 0, windowSize / 2, windowSize / 2);
    XFreeGC(painter, gc);
    XSync(painter, False);
    XCloseDisplay(painter);
}
} // namespace

// A private display with one plain window of the driver's own.
class FramePresent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(screen.isReady()) << screen.failure();
        ASSERT_TRUE(driver.isOpen());
        window = driver.createWindow("Canvas", windowSize, windowSize);
    }

    VirtualDisplay screen{false};
    DisplayDriver driver{screen.name()};
    unsigned long window = 0;
};

TEST_F(FramePresent, CountsOnlyDrawingDoneAfterTheWaitBegins)
{
    // nothing draws: no frame
    EXPECT_FALSE(driver.waitForPresent(window, quietWaitMs));

    // drawing finished before the wait is history, not a new frame
    drawInto(screen.name(), window);
    EXPECT_FALSE(driver.waitForPresent(window, quietWaitMs));

    // drawing while the driver waits is the frame it waits for
    const auto start = std::chrono::steady_clock::now();
    std::thread painter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(quietWaitMs));
        drawInto(screen.name(), window);
    });
    EXPECT_TRUE(driver.waitForPresent(window, drawWaitMs));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(quietWaitMs));
    painter.join();
}

TEST_F(FramePresent, AWindowThatIsGoneNeverPresents)
{
    driver.destroyWindow(window);
    EXPECT_FALSE(driver.waitForPresent(window, quietWaitMs));
}
