// SDL's video subsystem on X11, started by the first call that needs a
// window. Windows has a desktop before any program runs; here the first
// CreateWindowExA opens the display, and a host without one simply gets no
// window.
#pragma once

#include <thread>

class VideoSystem {
public:
    static VideoSystem& instance();

    // opens the display once; false (and a line on standard error) when SDL
    // video cannot start, for instance without DISPLAY
    bool start();
    bool isStarted() const { return started; }
    // SDL's events may only be pumped on the thread that started video
    bool isVideoThread() const { return started && std::this_thread::get_id() == videoThread; }

private:
    bool started = false;
    std::thread::id videoThread;
};
