// A thread's message queue, kept in Windows' order: posted messages first
// (WM_CHAR from TranslateMessage among them), then input (keys, mouse).
// WM_QUIT is no entry but a flag that PostQuitMessage sets; it is handed out
// only when nothing else waits, so while a quit is pending the queue is
// never found empty. WM_PAINT is not queued either: a window that needs
// painting yields it when nothing else waits (see PeekMessageA).
#pragma once

#include "platform/Platform.h"

#include <deque>

class MessageQueue {
public:
    static MessageQueue& forThisThread();

    // a message stamped with the current time and cursor position
    static MSG make(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // as PeekMessageA filters: hwnd null for any, range 0..0 for all
    static bool matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax);

    void post(const MSG& msg) { posted.push_back(msg); }
    void postInput(const MSG& msg) { input.push_back(msg); }
    void postQuit(int exitCode);

    // the first posted, else the first input message that matches
    bool takeQueued(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove);
    // WM_QUIT with the posted code, whatever the filter (as Windows)
    bool takeQuit(MSG& msg, bool remove);
    // a destroyed window's messages go with it
    void forgetWindow(HWND hwnd);

private:
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quitPending = false;
    int quitCode = 0;
};
