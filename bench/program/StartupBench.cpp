// Time from process start to the first presented frame of the real program,
// and its peak memory, over several runs on a private virtual display.
// Prints figures.
#include "harness/DisplayDriver.h"
#include "harness/SpawnedProcess.h"
#include "harness/VirtualDisplay.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
} // namespace

int main()
{
    VirtualDisplay display;
    if (!display.isReady()) {
        std::fprintf(stderr, "virtual display: %s\n", display.failure().c_str());
        return 1;
    }
    DisplayDriver driver(display.name());

    std::vector<double> firstFrameMs;
    std::vector<double> peakMiB;
    for (int run = 0; run < runs; ++run) {
        SpawnedProcess::Options options;
        options.workingDirectory = BRINDLEMOOR_SOURCE_DIR;
        options.environment = {{"DISPLAY", display.name()}};
        SpawnedProcess program({BRINDLEMOOR_PROGRAM}, options);

        unsigned long window = 0;
        bool presented = false;
        while (!presented && Clock::now() - program.startTime() < giveUpAfter) {
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
            std::fprintf(stderr, "run %d: no frame\n", run);
            return 1;
        }
        firstFrameMs.push_back(
            std::chrono::duration<double, std::milli>(shown - program.startTime()).count());
        driver.requestClose(window);
        int status = 0;
        program.waitForExit(10000, status);
        peakMiB.push_back(double(program.peakMemoryKiB()) / 1024.0);
        std::printf("run %d: first frame after %7.1f ms, peak memory %6.1f MiB\n", run, firstFrameMs.back(),
                    peakMiB.back());
    }
    std::printf("start to first presented frame: median %.1f ms, best %.1f ms (%d runs)\n",
                median(firstFrameMs), *std::min_element(firstFrameMs.begin(), firstFrameMs.end()), runs);
    std::printf("peak memory: median %.1f MiB\n", median(peakMiB));
    return 0;
}
