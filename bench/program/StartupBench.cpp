// Time from process start to the first presented frame of the real program,
// and its peak memory, over several runs on a private virtual display, beside
// the floor: a bare SDL2 window with an OpenGL context that swaps once, run
// in turn with the program so both meet the same machine. Prints figures.
#include "harness/DisplayDriver.h"
#include "harness/SpawnedProcess.h"
#include "harness/VirtualDisplay.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int runs = 7;
constexpr auto giveUpAfter = std::chrono::seconds(60);
constexpr auto pollInterval = std::chrono::milliseconds(1);
constexpr int patchSize = 16; // pixels, in the lower middle of the client area

using Clock = std::chrono::steady_clock;

// A presented frame shows ground in the lower half; before the first swap
// the unpainted window is black.
bool framePresented(const DisplayDriver::Image& image)
{
    if (image.width < patchSize || image.height < patchSize) {
        return false;
    }
    const int x0 = image.width / 2 - patchSize / 2;
    const int y0 = image.height * 3 / 4 - patchSize / 2;
    for (int y = y0; y < y0 + patchSize; ++y) {
        for (int x = x0; x < x0 + patchSize; ++x) {
            const size_t i = (size_t(y) * size_t(image.width) + size_t(x)) * 3;
            if (image.rgb[i] + image.rgb[i + 1] + image.rgb[i + 2] > 30) {
                return true;
            }
        }
    }
    return false;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Start {
    double firstFrameMs = 0.0;
    double peakMiB = 0.0;
};

// Starts a program on the display and times it to its first presented
// frame, then closes it; nothing if no frame came.
std::optional<Start> timeStart(DisplayDriver& driver, const std::string& displayName, const char* program)
{
    SpawnedProcess::Options options;
    options.workingDirectory = BRINDLEMOOR_SOURCE_DIR;
    options.environment = {{"DISPLAY", displayName}};
    SpawnedProcess process({program}, options);

    unsigned long window = 0;
    bool presented = false;
    while (!presented && Clock::now() - process.startTime() < giveUpAfter) {
        if (window == 0) {
            window = driver.waitForWindow("Brindlemoor", 1);
        } else {
            presented = framePresented(driver.capture(window));
        }
        if (!presented) {
            std::this_thread::sleep_for(pollInterval);
        }
    }
    const Clock::time_point shown = Clock::now();
    if (!presented) {
        return std::nullopt;
    }
    driver.requestClose(window);
    int status = 0;
    process.waitForExit(10000, status);
    return Start{std::chrono::duration<double, std::milli>(shown - process.startTime()).count(),
                 double(process.peakMemoryKiB()) / 1024.0};
}
} // namespace

int main()
{
    VirtualDisplay display;
    if (!display.isReady()) {
        std::fprintf(stderr, "virtual display: %s\n", display.failure().c_str());
        return 1;
    }
    DisplayDriver driver(display.name());

    std::vector<double> programMs;
    std::vector<double> floorMs;
    std::vector<double> peakMiB;
    for (int run = 0; run < runs; ++run) {
        const std::optional<Start> floor = timeStart(driver, display.name(), BRINDLEMOOR_STARTUP_FLOOR);
        const std::optional<Start> program = timeStart(driver, display.name(), BRINDLEMOOR_PROGRAM);
        if (!floor || !program) {
            std::fprintf(stderr, "run %d: no frame from the %s\n", run, floor ? "program" : "floor");
            return 1;
        }
        floorMs.push_back(floor->firstFrameMs);
        programMs.push_back(program->firstFrameMs);
        peakMiB.push_back(program->peakMiB);
        std::printf("run %d: program's first frame after %7.1f ms (floor %6.1f ms), peak memory %6.1f MiB\n",
                    run, programMs.back(), floorMs.back(), peakMiB.back());
    }
    std::printf(
        "start to first presented frame, medians of %d runs: program %.1f ms, floor %.1f ms: %.2f x the "
        "floor\n",
        runs, median(programMs), median(floorMs), median(programMs) / median(floorMs));
    std::printf("peak memory: median %.1f MiB\n", median(peakMiB));
    return 0;
}
