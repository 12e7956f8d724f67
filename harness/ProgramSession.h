// The real program, run on a private virtual display with a window manager,
// from a working folder the test lays out, and driven through real X input.
// It runs on either host: the Linux build on our Win32 layer, or the
// Windows build (the mingw-w64 cross build) under Wine, in a Wine prefix of
// the session's own. Everything but asking the host about a window works
// the same on both, through X.
#pragma once

#include "harness/ApiTrace.h"
#include "harness/DisplayDriver.h"
#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"
#include "harness/VirtualDisplay.h"
#include "harness/WinePrefix.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class ProgramHost { Linux, Windows };

class ProgramSession {
public:
    // The project's mdl/ and img/, linked into a working folder.
    static void linkProjectFiles(const std::filesystem::path& folder);
    // Copies of them, for a test to spoil.
    static void copyProjectFiles(const std::filesystem::path& folder);
    // The project's files with a one-triangle car, for traced sessions that
    // do not look at the car: each real car is some 33,000 calls a frame.
    static void linkWithOneTriangleCar(const std::filesystem::path& folder);
    // Puts that car in a working folder's mdl/, in place of the real one.
    static void writeOneTriangleCar(const std::filesystem::path& folder);

    struct Options {
        ProgramHost host = ProgramHost::Linux;
        bool withGlx = true;
        // run under apitrace, so recordedCalls() can read its OpenGL calls
        bool traced = false;
        // fills the working folder before the program starts; by default it
        // gets the project's own mdl/ and img/
        std::function<void(const std::filesystem::path& folder)> layOut = linkProjectFiles;
        // the program to run, e.g. from an unpacked package; by default the
        // build's own for the host
        std::filesystem::path program;
        // what runs a Linux program built for another architecture, e.g.
        // qemu-user with its arguments; empty for the host's own
        std::vector<std::string> emulator;
        // where it runs; by default a folder of the session's own, laid out
        // as above
        std::filesystem::path workingFolder;
        // the Wine prefix it runs in, e.g. one a test has installed it into;
        // by default one of the session's own. The session ends every
        // process of the prefix as it ends.
        WinePrefix* winePrefix = nullptr;
    };

    // What the host itself says of a top-level window: X and the window
    // manager on Linux, Windows' own calls under Wine.
    struct WindowReport {
        std::string title;
        std::string className;
        int outerWidth = 0;
        int outerHeight = 0;
        int clientWidth = 0;
        int clientHeight = 0;
    };

    explicit ProgramSession(const Options& options);
    explicit ProgramSession(ProgramHost host);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // empty when the display, the program and its window all came up
    const std::string& failure() const { return failureText; }
    ProgramHost host() const { return options.host; }
    DisplayDriver& driver() { return *display; }
    unsigned long window() const { return programWindow; }
    // what the program printed on standard output and standard error
    std::string standardOutput() const { return program->output(); }
    std::string standardError() const { return program->errorOutput(); }
    WindowReport report();

    // Each step that drives the window (captureSettled, holdKey,
    // holdKeyUntil, approach, drag, resize) waits on frames the window
    // presents, however slowly they come. One that cannot see its step
    // through (the frames stopped, the picture never settled) throws a
    // std::runtime_error saying which, and the case fails with it.

    DisplayDriver::Image capture();
    // captures presented frames until two in a row are equal: the picture
    // has stopped changing
    DisplayDriver::Image captureSettled();
    // true once the window has presented `count` more frames
    bool presentsFrames(int count);
    // the exit status, or nothing if it did not end in time
    std::optional<int> waitForExit(int timeoutMs = 30000);
    // asks the window to close, as its close button does, and waits
    std::optional<int> close(int timeoutMs = 30000);
    // holds a key from a drawn frame on until the program ends, and gives
    // its status: held, not tapped, as a press and release between two
    // frames is never seen
    std::optional<int> holdUntilExit(unsigned long keysym, int timeoutMs = 30000);
    // the OpenGL calls of a traced program, once it has ended
    std::vector<ApiTrace::Call> recordedCalls() const;
    // holds a key while the window presents `frames` frames, and returns
    // once a frame has taken the release
    void holdKey(unsigned long keysym, int frames);
    // holds a key until a presented frame passes `shows`, and returns once
    // a frame has taken the release
    void holdKeyUntil(unsigned long keysym, const std::function<bool(const DisplayDriver::Image&)>& shows);
    // the text of the message box titled "Error" once it shows, as the host
    // tells it: the Linux layer prints it, Windows holds it in the box
    std::string errorBoxText(int timeoutMs);
    // closes a message box titled "Error" with Return; false if none came
    bool dismissErrorBox(int timeoutMs);
    // moves the pointer to a client pixel, the last step one pixel long
    void approach(int x, int y);
    // a left-button drag inside the client area, in client pixels
    void drag(int fromX, int fromY, int toX, int toY);
    // asks for a new client size, as dragging the frame does, and waits
    // until the window has it and shows the lit yard drawn at that size
    void resize(int width, int height);
    // the client area's size in pixels
    int clientWidth();
    int clientHeight();

private:
    void start();
    // returns once the window shows a drawn frame; later frames (outlines,
    // the lights off) may well be mostly dark
    void waitForFirstFrame();
    // a time limit for waiting on the program, longer for an emulated one
    int patient(int timeoutMs) const;
    // what Windows says of the window with this title, from a small Win32
    // program run in the session's prefix; empty fields where it said nothing
    std::vector<std::string> askWindows(const std::string& title);

    Options options;
    TempDirectory workFolder;
    TempDirectory outputFolder;
    std::unique_ptr<VirtualDisplay> virtualDisplay;
    std::unique_ptr<DisplayDriver> display;
    std::unique_ptr<WinePrefix> ownPrefix;
    WinePrefix* winePrefix = nullptr;
    std::unique_ptr<SpawnedProcess> program;
    // where the Windows program's exit code is written once it ends
    std::filesystem::path windowsExitCodeFile;
    unsigned long programWindow = 0;
    bool frameSeen = false;
    std::string failureText;
};

// The lines of a program's output, a CR before a line end dropped as the
// Windows runtime writes one.
std::vector<std::string> linesOf(const std::string& text);
// Share of pixels whose colour differs by more than a small tolerance.
double differingShare(const DisplayDriver::Image& a, const DisplayDriver::Image& b);
// Share of pixels in a rectangle that are not the given colour.
double shareNotColour(const DisplayDriver::Image& image, int x0, int y0, int x1, int y1, int r, int g, int b);
