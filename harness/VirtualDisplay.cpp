#include "harness/VirtualDisplay.h"

#include "harness/DisplayDriver.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
constexpr int serverStartMs = 10000;  // Xvfb reports its display number within this
constexpr int managerStartMs = 10000; // openbox claims the screen within this
constexpr int pollIntervalMs = 20;
constexpr int probeWaitMs = 500; // a ready window manager takes a new window in within this
constexpr int probeSize = 16;    // pixels each way of the readiness probe
constexpr const char* screenGeometry = "1920x1080x24";
constexpr const char* socketLink = "socket:"; // how /proc names a socket a process holds

// No bindings at all: the client gets every key and click, as on Windows.
constexpr const char* openboxConfiguration = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name></theme>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
  <mouse></mouse>
</openbox_config>
)";

int socketsOf(pid_t process)
{
    int sockets = 0;
    std::error_code error;
    const std::string folder = "/proc/" + std::to_string(process) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (std::filesystem::read_symlink(entry.path(), error).string().rfind(socketLink, 0) == 0) {
            ++sockets;
        }
    }
    return sockets;
}
}

VirtualDisplay::VirtualDisplay(bool withWindowManager, bool withGlx)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "brindlemoor-display-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        fail("cannot make a folder for the display's logs");
        return;
    }
    directory = pattern;
    ready = startServer(withGlx) && (!withWindowManager || startWindowManager());
}

VirtualDisplay::~VirtualDisplay()
{
    windowManager.stop();
    server.stop();
    // A display that failed keeps its logs for whoever reads the failure.
    if (ready) {
        for (const char* file : {"/xvfb.log", "/openbox.log", "/rc.xml"}) {
            std::remove((directory + file).c_str());
        }
        rmdir(directory.c_str());
    }
}

bool VirtualDisplay::fail(const std::string& why)
{
    failureText = why;
    return false;
}

bool VirtualDisplay::startServer(bool withGlx)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return fail("cannot make a pipe for Xvfb");
    }
    std::vector<std::string> arguments = {"Xvfb",      "-displayfd", std::to_string(pipeFds[1]),
                                          "-screen",   "0",          screenGeometry,
                                          "-nolisten", "tcp",        "-noreset",
                                          "-ac"};
    if (!withGlx) {
        arguments.insert(arguments.end(), {"-extension", "GLX"});
    }
    SpawnedProcess::Options options;
    options.outputPath = directory + "/xvfb.log";
    options.inheritedFd = pipeFds[1];
    server = SpawnedProcess(arguments, options);
    close(pipeFds[1]);

    // Xvfb writes its display number once it accepts clients.
    std::string number;
    pollfd readable = {pipeFds[0], POLLIN, 0};
    for (int waited = 0; waited < serverStartMs && number.find('\n') == std::string::npos;
         waited += pollIntervalMs) {
        char buffer[16];
        if (poll(&readable, 1, pollIntervalMs) > 0) {
            const ssize_t count = read(pipeFds[0], buffer, sizeof(buffer));
            if (count <= 0) {
                break;
            }
            number.append(buffer, static_cast<size_t>(count));
        }
    }
    close(pipeFds[0]);
    if (!server.isStarted() || number.empty() || number.back() != '\n') {
        return fail("Xvfb did not start (is the xvfb package installed? see " + directory + "/xvfb.log)");
    }
    number.pop_back();
    displayName = ":" + number;
    listeningSockets = socketsOf(server.processId());
    return true;
}

int VirtualDisplay::connectedClients() const
{
    return socketsOf(server.processId()) - listeningSockets;
}

bool VirtualDisplay::startWindowManager()
{
    const std::string configuration = directory + "/rc.xml";
    std::ofstream(configuration) << openboxConfiguration;
    SpawnedProcess::Options options;
    options.outputPath = directory + "/openbox.log";
    options.environment = {{"DISPLAY", displayName}};
    windowManager = SpawnedProcess({"openbox", "--sm-disable", "--config-file", configuration}, options);

    DisplayDriver driver(displayName);
    if (!driver.isOpen()) {
        return fail("cannot connect to Xvfb on " + displayName);
    }
    // openbox claims the screen before it manages windows, and drops what is
    // mapped in between: a probe window shows when it really is ready.
    bool managed = false;
    for (int waited = 0; waited < managerStartMs && !managed;) {
        if (!driver.hasWindowManager()) {
            usleep(pollIntervalMs * 1000);
            waited += pollIntervalMs;
            continue;
        }
        const unsigned long probe =
            driver.createWindow("VirtualDisplay readiness probe", probeSize, probeSize);
        for (int probeWaited = 0; probeWaited < probeWaitMs && !managed; probeWaited += pollIntervalMs) {
            usleep(pollIntervalMs * 1000);
            managed = driver.isManaged(probe);
        }
        driver.destroyWindow(probe);
        waited += probeWaitMs;
    }
    if (!managed) {
        return fail("openbox did not take the screen (is the openbox package installed? see " + directory +
                    "/openbox.log)");
    }
    return true;
}
