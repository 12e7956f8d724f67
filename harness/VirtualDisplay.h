// A private X display for a test: Xvfb on a free display number (1920x1080,
// 24 bits), with or without GLX, and optionally openbox as its window
// manager. openbox runs without key or mouse bindings, so every key reaches
// the focused client as on Windows (Alt+F4 included) and new windows take
// the focus. Both processes end with the object, or with the test process.
#pragma once

#include "harness/SpawnedProcess.h"

#include <string>

class VirtualDisplay {
public:
    explicit VirtualDisplay(bool withWindowManager = true, bool withGlx = true);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // true when the server runs and, if asked for, the window manager has
    // taken the screen
    bool isReady() const { return ready; }
    // why it is not ready, for the assertion message
    const std::string& failure() const { return failureText; }
    // the display name, e.g. ":12", for DISPLAY
    const std::string& name() const { return displayName; }
    // the server dies at once, as when the session it served is torn down
    void killServer() { server.kill(); }
    // the clients connected now, counted from the server's side: a client
    // counts from the moment the server accepts it, while its connection
    // is still being set up
    int connectedClients() const;

private:
    bool startServer(bool withGlx);
    bool startWindowManager();
    bool fail(const std::string& why);

    std::string directory;
    std::string displayName;
    std::string failureText;
    int listeningSockets = 0; // the server's own, open before any client
    bool ready = false;
    SpawnedProcess server;
    SpawnedProcess windowManager;
};
