#include "harness/ProgramSession.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {
constexpr const char* windowTitle = "Brindlemoor";
constexpr const char* errorTitle = "Error"; // the caption of the program's message boxes
constexpr int windowTimeoutMs = 30000;
// Waits on frames give up only after this: a program that has presented
// nothing for so long has stopped, however busy the machine.
constexpr int settleTimeoutMs = 60000;
constexpr int reportTimeoutMs = 60000; // Wine starts a second program slowly on a busy machine
constexpr int dragSteps = 10;
constexpr int colourTolerance = 24; // per channel, out of 255
constexpr double drawnShare = 0.5;  // of the client area neither black nor white once a frame shows
constexpr int resizeTimeoutMs = 20000;
constexpr auto resizePoll = std::chrono::milliseconds(20);
// how many times longer an emulated program may take to show its window and
// draw: under qemu-user, Mesa's software rasteriser is itself emulated
constexpr int emulatedPatience = 5;

#ifdef BRINDLEMOOR_WINDOWS_PROGRAM
constexpr const char* windowsProgram = BRINDLEMOOR_WINDOWS_PROGRAM;
constexpr const char* windowReportProgram = BRINDLEMOOR_WINDOWS_REPORT;
constexpr const char* exitCodeProgram = BRINDLEMOOR_WINDOWS_EXIT_CODE;
#else
constexpr const char* windowsProgram = "";
constexpr const char* windowReportProgram = "";
constexpr const char* exitCodeProgram = "";
#endif

// A car the loader takes, one textured triangle.
constexpr const char* oneTriangleCar = "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                       "vt 0 0\nvt 1 0\nvt 0 1\n"
                                       "vn 0 0 1\n"
                                       "f 1/1/1 2/2/1 3/3/1\n";

void pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

// A step the session could not see through ends the case with the reason.
[[noreturn]] void stepFailed(const std::string& why)
{
    throw std::runtime_error(why);
}

std::string keyName(unsigned long keysym)
{
    const char* name = XKeysymToString(keysym);
    return name != nullptr ? name : std::to_string(keysym);
}

bool isPastDeadline(std::chrono::steady_clock::time_point deadline)
{
    return std::chrono::steady_clock::now() >= deadline;
}

std::chrono::steady_clock::time_point deadlineIn(int milliseconds)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

// Share of the pixels that are neither black nor white.
double shareNeitherBlackNorWhite(const DisplayDriver::Image& image)
{
    size_t coloured = 0;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        const int lowest = std::min({image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]});
        const int highest = std::max({image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]});
        coloured += highest > colourTolerance && lowest < 255 - colourTolerance;
    }
    const size_t pixels = image.rgb.size() / 3;
    return pixels == 0 ? 0.0 : double(coloured) / double(pixels);
}

// The path Wine's drive Z:, the root folder, gives a file.
std::string windowsPathOf(const std::filesystem::path& file)
{
    std::string path = "Z:" + std::filesystem::absolute(file).string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
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

void ProgramSession::linkWithOneTriangleCar(const std::filesystem::path& folder)
{
    const std::filesystem::path source(BRINDLEMOOR_SOURCE_DIR);
    std::filesystem::create_directory_symlink(source / "img", folder / "img");
    std::filesystem::create_directory(folder / "mdl");
    std::filesystem::create_symlink(source / "mdl" / "smallSphere.obj", folder / "mdl" / "smallSphere.obj");
    writeOneTriangleCar(folder);
}

void ProgramSession::writeOneTriangleCar(const std::filesystem::path& folder)
{
    std::ofstream(folder / "mdl" / "car_scrap.obj", std::ios::binary | std::ios::trunc) << oneTriangleCar;
}

ProgramSession::ProgramSession(ProgramHost host)
{
    options.host = host;
    start();
}

ProgramSession::ProgramSession(const Options& sessionOptions) : options(sessionOptions)
{
    start();
}

ProgramSession::~ProgramSession()
{
    // Wine's services outlive the program, and those of a prefix that goes
    // on would be left talking to this session's display once it is gone.
    program.reset();
    if (winePrefix) {
        winePrefix->endProcesses();
    }
}

void ProgramSession::start()
{
    if (workFolder.path().empty() || outputFolder.path().empty()) {
        failureText = "no temporary folder";
        return;
    }
    const std::filesystem::path workingFolder =
        options.workingFolder.empty() ? workFolder.path() : options.workingFolder;
    if (options.layOut && options.workingFolder.empty()) {
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
    SpawnedProcess::Options run;
    run.workingDirectory = workingFolder.string();
    run.environment = {{"DISPLAY", virtualDisplay->name()}};
    run.outputPath = (outputFolder.path() / "stdout").string();
    run.errorPath = (outputFolder.path() / "stderr").string();
    if (options.host == ProgramHost::Windows) {
        if (!options.winePrefix) {
            ownPrefix = std::make_unique<WinePrefix>(outputFolder.path() / "wine");
        }
        winePrefix = options.winePrefix ? options.winePrefix : ownPrefix.get();
        if (!winePrefix->failure().empty()) {
            failureText = "Wine: " + winePrefix->failure();
            return;
        }
        run.environment = winePrefix->environment(virtualDisplay->name());
        // The exit code is the one Windows reports, not the status of Wine's
        // process, which Wine kills if it is slow to go once the program ends.
        windowsExitCodeFile = outputFolder.path() / "exit-code";
        arguments.insert(arguments.end(),
                         {"wine", exitCodeProgram, windowsPathOf(windowsExitCodeFile),
                          windowsPathOf(options.program.empty() ? windowsProgram : options.program)});
    } else {
        arguments.insert(arguments.end(), options.emulator.begin(), options.emulator.end());
        arguments.push_back(options.program.empty() ? BRINDLEMOOR_PROGRAM : options.program.string());
    }
    program = std::make_unique<SpawnedProcess>(arguments, run);
    if (!program->isStarted()) {
        failureText = "cannot start the program";
        return;
    }
    programWindow = display->waitForWindow(windowTitle, patient(windowTimeoutMs));
    if (programWindow == 0) {
        failureText = "no window titled Brindlemoor appeared; stderr: " + program->errorOutput();
        return;
    }
    if (!display->focus(programWindow)) {
        failureText = "the window never took the keyboard focus";
    }
}

int ProgramSession::patient(int timeoutMs) const
{
    return options.emulator.empty() ? timeoutMs : timeoutMs * emulatedPatience;
}

ProgramSession::WindowReport ProgramSession::report()
{
    WindowReport report;
    if (options.host == ProgramHost::Linux) {
        int x = 0, y = 0;
        report.title = display->windowTitle(programWindow);
        report.className = display->windowClass(programWindow);
        display->outerGeometry(programWindow, x, y, report.outerWidth, report.outerHeight);
        display->clientGeometry(programWindow, x, y, report.clientWidth, report.clientHeight);
        return report;
    }
    for (const std::string& line : askWindows(windowTitle)) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        if (name == "title" || name == "class") {
            std::string& text = name == "title" ? report.title : report.className;
            std::getline(fields >> std::ws, text);
        } else if (name == "outer") {
            fields >> report.outerWidth >> report.outerHeight;
        } else if (name == "client") {
            fields >> report.clientWidth >> report.clientHeight;
        }
    }
    return report;
}

std::vector<std::string> ProgramSession::askWindows(const std::string& title)
{
    SpawnedProcess::Options run;
    run.environment = winePrefix->environment(virtualDisplay->name());
    const SpawnedProcess::Outcome reported =
        SpawnedProcess::run({"wine", windowReportProgram, title}, reportTimeoutMs, run);
    return reported.succeeded ? linesOf(reported.output) : std::vector<std::string>{};
}

void ProgramSession::waitForFirstFrame()
{
    // Until set-up has drawn and swapped, the new window is black (the
    // class brush's white under Windows), but for what a message box over
    // it may have left behind; a frame covers it with sky and yard, lit,
    // textured or not. Each drawing is looked at once it is presented.
    const auto deadline = deadlineIn(patient(settleTimeoutMs));
    while (!frameSeen) {
        frameSeen = shareNeitherBlackNorWhite(capture()) > drawnShare;
        if (!frameSeen &&
            (isPastDeadline(deadline) || !display->waitForPresent(programWindow, patient(settleTimeoutMs)))) {
            stepFailed("the window showed no drawn frame");
        }
    }
}

DisplayDriver::Image ProgramSession::capture()
{
    return display->capture(programWindow);
}

DisplayDriver::Image ProgramSession::captureSettled()
{
    waitForFirstFrame();
    DisplayDriver::Image settled = display->captureSettled(programWindow, patient(settleTimeoutMs));
    if (settled.rgb.empty()) {
        stepFailed("the picture did not settle: the frames stopped or kept changing");
    }
    return settled;
}

std::optional<int> ProgramSession::waitForExit(int timeoutMs)
{
    int status = 0;
    if (!program->waitForExit(timeoutMs, status)) {
        return std::nullopt;
    }
    if (!windowsExitCodeFile.empty()) {
        std::ifstream reported(windowsExitCodeFile);
        unsigned long code = 0;
        if (reported >> code) {
            return static_cast<int>(code);
        }
    }
    return status;
}

std::optional<int> ProgramSession::close(int timeoutMs)
{
    display->requestClose(programWindow);
    return waitForExit(timeoutMs);
}

std::optional<int> ProgramSession::holdUntilExit(unsigned long keysym, int timeoutMs)
{
    captureSettled();
    display->keyDown(keysym);
    display->sync();
    const std::optional<int> status = waitForExit(timeoutMs);
    display->keyUp(keysym);
    return status;
}

void ProgramSession::holdKey(unsigned long keysym, int frames)
{
    if (!display->holdKeyForFrames(programWindow, keysym, frames)) {
        stepFailed("the frames stopped while " + keyName(keysym) + " was held");
    }
}

void ProgramSession::holdKeyUntil(unsigned long keysym,
                                  const std::function<bool(const DisplayDriver::Image&)>& shows)
{
    display->keyDown(keysym);
    display->sync();
    bool shown = false;
    const auto deadline = deadlineIn(settleTimeoutMs);
    while (!shown && !isPastDeadline(deadline) && display->waitForPresent(programWindow, settleTimeoutMs)) {
        shown = shows(capture());
    }
    display->keyUp(keysym);
    display->sync();
    if (!shown) {
        stepFailed("no frame showed what holding " + keyName(keysym) + " was to show");
    }
    if (!display->waitForInputTaken(programWindow)) {
        stepFailed("the frames stopped once " + keyName(keysym) + " was let go");
    }
}

std::vector<ApiTrace::Call> ProgramSession::recordedCalls() const
{
    return ApiTrace::read(outputFolder.path() / "program.trace");
}

bool ProgramSession::presentsFrames(int count)
{
    for (int frame = 0; frame < count; ++frame) {
        if (!display->waitForPresent(programWindow, patient(settleTimeoutMs))) {
            return false;
        }
    }
    return true;
}

std::string ProgramSession::errorBoxText(int timeoutMs)
{
    if (display->waitForWindow(errorTitle, timeoutMs) == 0) {
        return {};
    }
    if (options.host == ProgramHost::Linux) {
        return standardError();
    }
    std::string text;
    for (const std::string& line : askWindows(errorTitle)) {
        if (line.rfind("text ", 0) == 0) {
            text += line.substr(5) + "\n";
        }
    }
    return text;
}

bool ProgramSession::dismissErrorBox(int timeoutMs)
{
    const unsigned long box = display->waitForWindow(errorTitle, timeoutMs);
    if (box == 0) {
        return false;
    }
    if (!display->focus(box)) {
        return false;
    }
    display->tapKey(XK_Return);
    display->sync();
    return display->waitForWindowGone(box, timeoutMs);
}

void ProgramSession::approach(int x, int y)
{
    if (!display->approachClient(programWindow, x, y)) {
        stepFailed("the frames stopped while the pointer moved");
    }
}

void ProgramSession::drag(int fromX, int fromY, int toX, int toY)
{
    if (!display->dragClient(programWindow, fromX, fromY, toX, toY, dragSteps)) {
        stepFailed("the frames stopped during a drag");
    }
}

void ProgramSession::resize(int width, int height)
{
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    display->resizeClient(programWindow, width, height);
    const auto deadline = deadlineIn(resizeTimeoutMs);
    while (clientWidth() != width || clientHeight() != height) {
        if (isPastDeadline(deadline)) {
            stepFailed("the window never took the size " + size);
        }
        pause(resizePoll);
    }
    // The frame in flight as the size changed was drawn for the old one, and
    // Windows paints a resized window with the class brush's white before
    // the program draws again: neither is lit and filled, and the first is
    // followed by a frame unlike it.
    for (;;) {
        const DisplayDriver::Image settled = display->captureSettled(programWindow, settleTimeoutMs);
        if (settled.rgb.empty()) {
            stepFailed("the picture did not settle at " + size);
        }
        if (settled.width == width && settled.height == height &&
            shareNeitherBlackNorWhite(settled) > drawnShare) {
            return;
        }
        if (isPastDeadline(deadline)) {
            stepFailed("no lit frame showed at " + size);
        }
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

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
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
