// Runs a program on the current X display, waits a while for it to start,
// saves the client area as a PNG once its frames have settled and closes the
// window as its close button would.
//   screenshot --run PROGRAM --title TITLE --output FILE.png
//              [--settle-ms N] [--hold KEYSYM:MS | --drag DX:DY]...
// The holds and drags run in the order given, as a user would do them.
#include "harness/DisplayDriver.h"
#include "harness/SpawnedProcess.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int windowTimeoutMs = 60000;
constexpr int exitTimeoutMs = 10000;
constexpr int dragSteps = 20;
constexpr int settleTimeoutMs = 20000;

// A key held for a while, or a left-button drag by (x, y) pixels.
struct Action {
    std::string key;
    int x = 0;
    int y = 0;
};

struct Arguments {
    std::string program;
    std::string title;
    std::string output;
    int settleMs = 2000;
    std::vector<Action> actions;
};

bool parse(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--run") {
            arguments.program = value;
        } else if (name == "--title") {
            arguments.title = value;
        } else if (name == "--output") {
            arguments.output = value;
        } else if (name == "--settle-ms") {
            arguments.settleMs = std::atoi(value.c_str());
        } else if ((name == "--hold" || name == "--drag") && value.find(':') != std::string::npos) {
            const std::string first = value.substr(0, value.find(':'));
            const int second = std::atoi(value.substr(value.find(':') + 1).c_str());
            if (name == "--hold") {
                arguments.actions.push_back({first, second, 0});
            } else {
                arguments.actions.push_back({"", std::atoi(first.c_str()), second});
            }
        } else {
            return false;
        }
    }
    return !arguments.program.empty() && !arguments.title.empty() && !arguments.output.empty();
}

void pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!parse(argc, argv, arguments)) {
        std::fprintf(stderr,
                     "usage: %s --run PROGRAM --title TITLE --output FILE.png [--settle-ms N] "
                     "[--hold KEYSYM:MS | --drag DX:DY]...\n",
                     argv[0]);
        return 2;
    }
    const char* displayName = std::getenv("DISPLAY");
    if (displayName == nullptr) {
        std::fprintf(stderr, "no DISPLAY: run through tools/with-display.sh\n");
        return 1;
    }
    DisplayDriver driver(displayName);
    if (!driver.isOpen()) {
        std::fprintf(stderr, "cannot open display %s\n", displayName);
        return 1;
    }

    SpawnedProcess program({arguments.program}, SpawnedProcess::Options{});
    const unsigned long window = driver.waitForWindow(arguments.title, windowTimeoutMs);
    if (window == 0) {
        std::fprintf(stderr, "no window titled \"%s\" appeared\n", arguments.title.c_str());
        return 1;
    }
    driver.focus(window);
    pause(std::chrono::milliseconds(arguments.settleMs / 2));
    for (const Action& action : arguments.actions) {
        if (action.key.empty()) {
            // turns the view as a user dragging from the middle would
            int x = 0, y = 0, width = 0, height = 0;
            driver.clientGeometry(window, x, y, width, height);
            if (!driver.dragClient(window, width / 2, height / 2, width / 2 + action.x, height / 2 + action.y,
                                   dragSteps)) {
                std::fprintf(stderr, "the window stopped presenting frames during a drag\n");
                return 1;
            }
        } else {
            driver.holdKey(XStringToKeysym(action.key.c_str()), action.x);
        }
    }
    pause(std::chrono::milliseconds(arguments.settleMs / 2));

    const DisplayDriver::Image image = driver.captureSettled(window, settleTimeoutMs);
    driver.requestClose(window);
    int status = 0;
    program.waitForExit(exitTimeoutMs, status);
    if (image.rgb.empty() || !stbi_write_png(arguments.output.c_str(), image.width, image.height, 3,
                                             image.rgb.data(), image.width * 3)) {
        std::fprintf(stderr, "cannot save %s\n", arguments.output.c_str());
        return 1;
    }
    return 0;
}
