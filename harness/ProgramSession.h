// The real program, run on a private virtual display with a window manager,
// from a working folder the test lays out, and driven through real X input.
#pragma once

#include "harness/ApiTrace.h"
#include "harness/DisplayDriver.h"
#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"
#include "harness/VirtualDisplay.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ProgramSession {
public:
    // The project's mdl/ and img/, linked into a working folder.
    static void linkProjectFiles(const std::filesystem::path& folder);
    // Copies of them, for a test to spoil.
    static void copyProjectFiles(const std::filesystem::path& folder);

    struct Options {
        bool withGlx = true;
        // run under apitrace, so recordedCalls() can read its OpenGL calls
        bool traced = false;
        // fills the working folder before the program starts; by default it
        // gets the project's own mdl/ and img/
        std::function<void(const std::filesystem::path& folder)> layOut = linkProjectFiles;
    };

    explicit ProgramSession(const Options& options);
    ProgramSession();

    // empty when the display, the program and its window all came up
    const std::string& failure() const { return failureText; }
    DisplayDriver& driver() { return *display; }
    unsigned long window() const { return programWindow; }
    // what the program printed on standard output and standard error
    std::string standardOutput() const { return program->output(); }
    std::string standardError() const { return program->errorOutput(); }

    DisplayDriver::Image capture();
    // captures presented frames until two in a row are equal: the picture
    // has stopped changing
    DisplayDriver::Image captureSettled();
    // the exit status, or nothing if it did not end in time
    std::optional<int> waitForExit(int timeoutMs = 10000);
    // asks the window to close, as its close button does, and waits
    std::optional<int> close(int timeoutMs = 20000);
    // the OpenGL calls of a traced program, once it has ended
    std::vector<ApiTrace::Call> recordedCalls() const;
    void holdKey(unsigned long keysym, int milliseconds) { display->holdKey(keysym, milliseconds); }
    // closes a message box titled "Error" with Return; false if none came
    bool dismissErrorBox(int timeoutMs);
    // moves the pointer to a client pixel, the last step one pixel long
    void approach(int x, int y) { display->approachClient(programWindow, x, y); }
    // a left-button drag inside the client area, in client pixels
    void drag(int fromX, int fromY, int toX, int toY);
    // asks for a new client size, as dragging the frame does, and waits
    // until the window has it
    void resize(int width, int height);
    // the client area's size in pixels
    int clientWidth();
    int clientHeight();

private:
    void start(const Options& options);
    // true once the window shows a drawn frame; later frames (outlines, the
    // lights off) may well be mostly dark
    bool waitForFirstFrame();

    TempDirectory workFolder;
    TempDirectory outputFolder;
    std::unique_ptr<VirtualDisplay> virtualDisplay;
    std::unique_ptr<DisplayDriver> display;
    std::unique_ptr<SpawnedProcess> program;
    unsigned long programWindow = 0;
    bool frameSeen = false;
    std::string failureText;
};

// Share of pixels whose colour differs by more than a small tolerance.
double differingShare(const DisplayDriver::Image& a, const DisplayDriver::Image& b);
// Share of pixels in a rectangle that are not the given colour.
double shareNotColour(const DisplayDriver::Image& image, int x0, int y0, int x1, int y1, int r, int g, int b);
