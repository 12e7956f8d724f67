// The program's message boxes, recorded instead of shown: a test run has
// no one to press OK. Linking MessageBoxRecorder.cpp replaces MessageBoxA.
#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

struct RecordedMessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// the boxes shown since the last call, oldest first
std::vector<RecordedMessageBox> takeRecordedMessageBoxes();
