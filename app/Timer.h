// Seconds between consecutive idle turns of the message loop, from the
// high-resolution performance counter, in single precision, unclamped.
#pragma once

#include "platform/Platform.h"

class Timer {
public:
    // reads the counter frequency and starts measuring; false without a counter
    bool initialize();
    // measures the time since the previous frame (or since initialize)
    void frame();
    // seconds between the last two frames; 0 before the first
    float getTime() const { return frameTime; }

private:
    LARGE_INTEGER frequency = {};
    float frequencyFloat = 0.0f;
    LARGE_INTEGER lastTime = {};
    float frameTime = 0.0f;
};
