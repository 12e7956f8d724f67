#include "platform/sdl/WindowRegistry.h"

#include <algorithm>

namespace {
constexpr uintptr_t handleStep = 4; // a window's HWND, then its HDC, then a gap
}

// Never destroyed: as on Windows, the process's exit reclaims its windows.
// Destroying them at exit would wait on a display that may be gone.
WindowRegistry& WindowRegistry::instance()
{
    static WindowRegistry* const registry = new WindowRegistry;
    return *registry;
}

HostWindow* WindowRegistry::create(HostWindow::Request request)
{
    request.handle = reinterpret_cast<HWND>(nextHandle);
    request.deviceContext = reinterpret_cast<HDC>(nextHandle + 1);
    nextHandle += handleStep;
    std::unique_ptr<HostWindow> window = HostWindow::create(request);
    if (window == nullptr) {
        return nullptr;
    }
    windows.push_back(std::move(window));
    return windows.back().get();
}

void WindowRegistry::remove(HWND handle)
{
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [handle](const auto& window) { return window->handle() == handle; }),
                  windows.end());
}

HostWindow* WindowRegistry::find(HWND handle) const
{
    return findWhere([handle](const HostWindow& window) { return window.handle() == handle; });
}

HostWindow* WindowRegistry::findBySdlId(Uint32 id) const
{
    return findWhere([id](const HostWindow& window) { return window.sdlId() == id; });
}

HostWindow* WindowRegistry::findByXWindow(unsigned long xWindow) const
{
    return findWhere(
        [xWindow](const HostWindow& window) { return xWindow != 0 && window.xWindow() == xWindow; });
}

HostWindow* WindowRegistry::findByDeviceContext(HDC deviceContext) const
{
    return findWhere(
        [deviceContext](const HostWindow& window) { return window.deviceContext() == deviceContext; });
}

HostWindow* WindowRegistry::findNeedingPaint(HWND filter) const
{
    return findWhere([filter](const HostWindow& window) {
        return window.needsPaint() && (filter == nullptr || window.handle() == filter);
    });
}

LRESULT WindowRegistry::send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) const
{
    const HostWindow* window = find(handle);
    if (window == nullptr) {
        return 0;
    }
    // The procedure may destroy the window; nothing of it is touched after.
    return window->procedure()(handle, message, wParam, lParam);
}

void WindowRegistry::reportSize(HWND handle, bool always) const
{
    HostWindow* window = find(handle);
    if (window == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    if (window->takeSizeChange(width, height) || always) {
        send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
}
