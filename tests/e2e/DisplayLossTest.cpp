// The X server dying under the program, at moments of start-up and while it
// draws, as when a session is logged out: the program ends at once, with a
// line saying so and status 1, every time; it never hangs and never
// crashes. Each try has a display of its own, killed outright.
#include "harness/DisplayDriver.h"
#include "harness/ProgramSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {
// A program killed in its set-up notices the loss only when it next speaks
// to the server, after decoding its images: on a starved machine, with the
// sanitizers, that is seconds away. Past this it hangs.
constexpr int exitWaitMs = 30000;
constexpr int windowWaitMs = 30000;
constexpr int drawnFrames = 3;
constexpr int mappingTries = 6; // the window's mapping raced the exit 1 time in 2 to 4

// Moments of start-up: once the program has made its nth connection to
// the display (0: at once), `after` on from there, `tries` times. Its
// connections are the layer's watcher, then SDL's two; each is followed by
// XOpenDisplay's own round trips, which take about a millisecond, so
// several tries land in them. Then come SDL's set-up, the window, its GLX
// context and the scene's set-up.
struct StartUpMoment {
    int connection;
    std::chrono::milliseconds after;
    int tries;
};
const StartUpMoment startUpMoments[] = {
    {0, std::chrono::milliseconds(0), 1},   {1, std::chrono::milliseconds(0), 3},
    {1, std::chrono::milliseconds(1), 1},   {1, std::chrono::milliseconds(2), 1},
    {2, std::chrono::milliseconds(0), 2},   {2, std::chrono::milliseconds(2), 1},
    {3, std::chrono::milliseconds(0), 1},   {3, std::chrono::milliseconds(5), 1},
    {3, std::chrono::milliseconds(15), 1},  {3, std::chrono::milliseconds(30), 1},
    {3, std::chrono::milliseconds(50), 1},  {3, std::chrono::milliseconds(80), 1},
    {3, std::chrono::milliseconds(120), 1}, {3, std::chrono::milliseconds(170), 1},
    {3, std::chrono::milliseconds(240), 1}, {3, std::chrono::milliseconds(350), 1},
};

class DisplayLoss : public ::testing::Test {
protected:
    void SetUp() override { ProgramSession::linkProjectFiles(folder.path()); }

    // Starts the program on a display of its own, kills the server once
    // `moment` returns and checks how the program ended. A kill before the
    // program reached the display is a display it never had: no window
    // can be made, which ends it with status 0 and says so.
    void loseDisplay(const std::string& when,
                     const std::function<void(const VirtualDisplay& display)>& moment, bool inStartUp = false)
    {
        // the window manager takes a while to start, and only matters once
        // there is a window to map
        VirtualDisplay display(!inStartUp);
        ASSERT_TRUE(display.isReady()) << display.failure();
        SpawnedProcess::Options options;
        options.workingDirectory = folder.path().string();
        options.environment = {{"DISPLAY", display.name()}};
        options.errorPath = folder.pathOf("stderr");
        SpawnedProcess program({BRINDLEMOOR_PROGRAM}, options);
        ASSERT_TRUE(program.isStarted());
        moment(display);
        display.killServer();

        int status = -1;
        ASSERT_TRUE(program.waitForExit(exitWaitMs, status)) << when << ": still running";
        const std::string error = program.errorOutput();
        if (inStartUp && status == 0 && error.rfind("No window can be created", 0) == 0) {
            return;
        }
        EXPECT_EQ(status, 1) << when << "; standard error: " << error;
        EXPECT_EQ(error, "Lost the connection to the display " + display.name() + "; the program ends.\n")
            << when;
    }

    // the program's window once it is mapped, over a connection closed
    // before the server goes: a client of the dead server would be ended
    // by Xlib
    static void waitForWindow(const std::string& display, int frames)
    {
        DisplayDriver driver(display);
        const unsigned long window = driver.waitForWindow("Brindlemoor", windowWaitMs);
        ASSERT_NE(window, 0u);
        for (int frame = 0; frame < frames; ++frame) {
            ASSERT_TRUE(driver.waitForPresent(window, windowWaitMs));
        }
    }

    // once the program has made its nth connection to the display; it
    // reaches its third long before this gives up
    static void waitForConnection(const VirtualDisplay& display, int connection)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(windowWaitMs);
        while (display.connectedClients() < connection) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no connection " << connection;
            std::this_thread::yield();
        }
    }

    TempDirectory folder;
};

TEST_F(DisplayLoss, AnywhereInStartUp)
{
    for (const StartUpMoment& moment : startUpMoments) {
        for (int attempt = 0; attempt < moment.tries; ++attempt) {
            loseDisplay(
                std::to_string(moment.after.count()) + " ms after connection " +
                    std::to_string(moment.connection),
                [moment](const VirtualDisplay& display) {
                    waitForConnection(display, moment.connection);
                    std::this_thread::sleep_for(moment.after);
                },
                true);
        }
    }
}

TEST_F(DisplayLoss, AsTheWindowMapsAndWhileFramesAreDrawn)
{
    for (int attempt = 0; attempt < mappingTries; ++attempt) {
        loseDisplay("as the window maps, try " + std::to_string(attempt + 1),
                    [](const VirtualDisplay& display) { waitForWindow(display.name(), 0); });
    }
    loseDisplay("while drawing",
                [](const VirtualDisplay& display) { waitForWindow(display.name(), drawnFrames); });
}
} // namespace
