// Every live window of the process, found by its handles, and the one way
// a message is sent: the window procedure runs at once, inside the caller.
#pragma once

#include "platform/Platform.h"
#include "platform/sdl/HostWindow.h"

#include <memory>
#include <vector>

class WindowRegistry {
public:
    static WindowRegistry& instance();

    // a new window with fresh handles; null when SDL cannot make one
    HostWindow* create(HostWindow::Request request);
    void remove(HWND handle);

    // each null when no live window matches
    HostWindow* find(HWND handle) const;
    HostWindow* findBySdlId(Uint32 id) const;
    HostWindow* findByXWindow(unsigned long xWindow) const;
    HostWindow* findByDeviceContext(HDC deviceContext) const;
    // the first window (or the given one) that has a WM_PAINT to give
    HostWindow* findNeedingPaint(HWND filter) const;

    // runs the window's procedure now; 0 for a window that does not exist
    LRESULT send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) const;
    // sends WM_SIZE with the client size when it changed since the last
    // one, or always
    void reportSize(HWND handle, bool always) const;

private:
    template <typename Match>
    HostWindow* findWhere(Match match) const
    {
        for (const auto& window : windows) {
            if (match(*window)) {
                return window.get();
            }
        }
        return nullptr;
    }

    std::vector<std::unique_ptr<HostWindow>> windows;
    uintptr_t nextHandle = 0x10000; // handles are never reused, so a stale one finds nothing
};
