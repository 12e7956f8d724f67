#include "harness/ProgramSession.h"

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {
constexpr const char* windowTitle = "Brindlemoor";
constexpr int windowTimeoutMs = 30000;
constexpr int settleTimeoutMs = 20000;
constexpr int dragSteps = 10;
constexpr int colourTolerance = 24; // per channel, out of 255
constexpr double drawnShare = 0.5;  // of the client area not black once a frame shows
constexpr auto capturePause = std::chrono::milliseconds(30);
constexpr int resizeTimeoutMs = 10000;
constexpr auto resizePause = std::chrono::milliseconds(20);

void pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}
} // namespace

void ProgramSession::linkProjectFiles(const std::filesystem::path& folder)
{
    const std::filesystem::path source(BRINDLEMOOR_SOURCE_DIR);
    std::filesystem::create_directory_symlink(source / "mdl", folder / "mdl");
    std::filesystem::create_directory_symlink(source / "img", folder / "img");
}

void ProgramSession::copyProjectFiles(const std::filesystem::path& folder)
{
    const std::filesystem::path source(BRINDLEMOOR_SOURCE_DIR);
    std::filesystem::copy(source / "mdl", folder / "mdl");
    std::filesystem::copy(source / "img", folder / "img");
}

ProgramSession::ProgramSession() : ProgramSession(Options{}) {}

ProgramSession::ProgramSession(const Options& options)
{
    start(options);
}

void ProgramSession::start(const Options& options)
{
    if (workFolder.path().empty()) {
        failureText = "no temporary folder";
        return;
    }
    if (options.layOut) {
        options.layOut(workFolder.path());
    }
    virtualDisplay = std::make_unique<VirtualDisplay>(true, options.withGlx);
    if (!virtualDisplay->isReady()) {
        failureText = "virtual display: " + virtualDisplay->failure();
        return;
    }
    display = std::make_unique<DisplayDriver>(virtualDisplay->name());

    std::vector<std::string> arguments;
    if (options.traced) {
        arguments = {"apitrace", "trace", "--output", (outputFolder.path() / "program.trace").string()};
    }
    arguments.push_back(BRINDLEMOOR_PROGRAM);
    SpawnedProcess::Options run;
    run.workingDirectory = workFolder.path().string();
    run.environment = {{"DISPLAY", virtualDisplay->name()}};
    run.outputPath = (outputFolder.path() / "stdout").string();
    run.errorPath = (outputFolder.path() / "stderr").string();
    program = std::make_unique<SpawnedProcess>(arguments, run);
    if (!program->isStarted()) {
        failureText = "cannot start the program";
        return;
    }
    programWindow = display->waitForWindow(windowTitle, windowTimeoutMs);
    if (programWindow == 0) {
        failureText = "no window titled Brindlemoor appeared; stderr: " + program->errorOutput();
        return;
    }
    display->focus(programWindow);
}

bool ProgramSession::waitForFirstFrame()
{
    if (frameSeen) {
        return true;
    }
    // Until set-up has drawn and swapped, the new window is unpainted black,
    // but for what a message box over it may have left behind; a frame
    // covers it with sky and yard.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(settleTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const DisplayDriver::Image image = capture();
        if (!image.rgb.empty() &&
            shareNotColour(image, 0, 0, image.width, image.height, 0, 0, 0) > drawnShare) {
            frameSeen = true;
            return true;
        }
        pause(capturePause);
    }
    return false;
}

DisplayDriver::Image ProgramSession::capture()
{
    return display->capture(programWindow);
}

DisplayDriver::Image ProgramSession::captureSettled()
{
    waitForFirstFrame();
    return display->captureSettled(programWindow, settleTimeoutMs);
}

std::optional<int> ProgramSession::waitForExit(int timeoutMs)
{
    int status = 0;
    if (!program->waitForExit(timeoutMs, status)) {
        return std::nullopt;
    }
    return status;
}

std::optional<int> ProgramSession::close(int timeoutMs)
{
    display->requestClose(programWindow);
    return waitForExit(timeoutMs);
}

std::vector<ApiTrace::Call> ProgramSession::recordedCalls() const
{
    return ApiTrace::read(outputFolder.path() / "program.trace");
}

bool ProgramSession::dismissErrorBox(int timeoutMs)
{
    const unsigned long box = display->waitForWindow("Error", timeoutMs);
    if (box == 0) {
        return false;
    }
    display->focus(box);
    display->tapKey(XK_Return);
    display->sync();
    return display->waitForWindowGone(box, timeoutMs);
}

void ProgramSession::drag(int fromX, int fromY, int toX, int toY)
{
    display->dragClient(programWindow, fromX, fromY, toX, toY, dragSteps);
}

void ProgramSession::resize(int width, int height)
{
    display->resizeClient(programWindow, width, height);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(resizeTimeoutMs);
    while (clientWidth() != width && std::chrono::steady_clock::now() < deadline) {
        pause(resizePause);
    }
}

int ProgramSession::clientWidth()
{
    int x = 0, y = 0, width = 0, height = 0;
    display->clientGeometry(programWindow, x, y, width, height);
    return width;
}

int ProgramSession::clientHeight()
{
    int x = 0, y = 0, width = 0, height = 0;
    display->clientGeometry(programWindow, x, y, width, height);
    return height;
}

double differingShare(const DisplayDriver::Image& a, const DisplayDriver::Image& b)
{
    if (a.width != b.width || a.height != b.height || a.rgb.empty()) {
        return 1.0;
    }
    size_t differing = 0;
    for (size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c])) > colourTolerance) {
                ++differing;
                break;
            }
        }
    }
    return double(differing) / double(a.rgb.size() / 3);
}

double shareNotColour(const DisplayDriver::Image& image, int x0, int y0, int x1, int y1, int r, int g, int b)
{
    size_t total = 0;
    size_t other = 0;
    for (int y = y0; y < y1 && y < image.height; ++y) {
        for (int x = x0; x < x1 && x < image.width; ++x) {
            const size_t i = (size_t(y) * size_t(image.width) + size_t(x)) * 3;
            ++total;
            if (std::abs(image.rgb[i] - r) > colourTolerance ||
                std::abs(image.rgb[i + 1] - g) > colourTolerance ||
                std::abs(image.rgb[i + 2] - b) > colourTolerance) {
                ++other;
            }
        }
    }
    return total == 0 ? 0.0 : double(other) / double(total);
}
