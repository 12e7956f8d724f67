// Tests that need a desktop: one private display with openbox for the whole
// test process (the layer's SDL video can open only one), DISPLAY pointed
// at it, a driver for real X input, and the message log. Every test leaves
// no window and no waiting message behind.
#pragma once

#include "harness/DisplayDriver.h"
#include "tests/platform/MessageLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

class DesktopTest : public ::testing::Test {
protected:
    static constexpr int windowWaitMs = 5000; // a window maps, or a message arrives, within this
    static constexpr int settleMs = 100;      // lets a new window's first events (focus, expose) through

    // whether the display has GLX, fixed by the first test of the process
    static bool withGlx;

    void SetUp() override;
    void TearDown() override;

    static DisplayDriver& driver();
    // the pixel format request the program makes
    static PIXELFORMATDESCRIPTOR programPixelFormat();
    static MessageLog& log() { return MessageLog::instance(); }

    // creates and shows a window and finds it on the display; 0 on failure
    unsigned long showWindow(const char* title, HWND& hwnd, DWORD style = MessageLog::programStyle);
    // a root point that no window covers
    void pointOutside(unsigned long xWindow, int& rootX, int& rootY);
    // true once a message of this type has been recorded, pumping meanwhile
    bool waitFor(UINT message, int count = 1);
    // true once done() holds, polling without taking any message
    static bool waitUntil(const std::function<bool()>& done);
};
