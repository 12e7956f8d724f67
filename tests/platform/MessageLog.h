// A test window class whose procedure records every message it gets, in
// order, and the message loop that feeds it, as the program runs its own:
// PeekMessageA with PM_REMOVE, TranslateMessage, DispatchMessageA. WM_QUIT
// is recorded too, with no window.
#pragma once

#include "platform/Platform.h"

#include <functional>
#include <vector>

class MessageLog {
public:
    struct Entry {
        HWND hwnd = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        // WM_NCCREATE's and WM_CREATE's structure as it was during the call:
        // it lives on CreateWindowExA's stack, and its strings are not to be
        // followed after it
        CREATESTRUCTA creation = {};
    };

    static constexpr DWORD programStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    static constexpr const char* className = "PlatformTestWindow";

    static MessageLog& instance();
    // records, posts the quit message on WM_DESTROY as the program does,
    // then the default processing
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // registers the class once per process
    void registerClass();
    HWND createWindow(const char* title, DWORD style = programStyle, int width = 1280, int height = 720);
    // closes every window this log created that still exists
    void destroyWindows();

    // runs the loop until done() holds or timeoutMs passes
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs, bool translate = true);
    // runs the loop for a while, for messages that must not come
    void pumpFor(int milliseconds);
    // takes every waiting message, the quit message included
    void drain();
    void clear() { log.clear(); }

    const std::vector<Entry>& entries() const { return log; }
    std::vector<Entry> ofType(UINT message) const;
    int count(UINT message) const { return static_cast<int>(ofType(message).size()); }
    // the first entry at or after from with this message, or -1
    int indexOf(UINT message, int from = 0) const;

    // WM_CREATE answers -1 while this is set
    bool failCreate = false;

private:
    std::vector<Entry> log;
    std::vector<HWND> created;
    bool registered = false;
};
