// USER's window calls: classes, creation, showing, painting, the default
// window procedure and the window's device context and client rectangle.
#include "platform/Platform.h"
#include "platform/sdl/KeyTranslation.h"
#include "platform/sdl/MessageQueue.h"
#include "platform/sdl/RenderingContexts.h"
#include "platform/sdl/VideoSystem.h"
#include "platform/sdl/WindowClassRegistry.h"
#include "platform/sdl/WindowRegistry.h"

namespace {
// The standard arrow; SDL shows it without being asked.
char arrowCursor;

// DestroyWindow as Windows does it: hidden, WM_DESTROY, WM_NCDESTROY, then
// gone with its contexts and its waiting messages. A window whose WM_NCCREATE
// failed gets only WM_NCDESTROY.
void destroyWindow(HWND hwnd, bool sendDestroy)
{
    WindowRegistry& windows = WindowRegistry::instance();
    HostWindow* window = windows.find(hwnd);
    if (window == nullptr || window->isDestroying()) {
        return;
    }
    window->markDestroying();
    window->hide();
    if (sendDestroy) {
        windows.send(hwnd, WM_DESTROY, 0, 0);
    }
    windows.send(hwnd, WM_NCDESTROY, 0, 0);
    RenderingContexts::instance().forgetWindow(hwnd);
    MessageQueue::forThisThread().forgetWindow(hwnd);
    windows.remove(hwnd);
}
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass)
{
    return WindowClassRegistry::instance().add(windowClass);
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    const WNDPROC procedure = WindowClassRegistry::instance().find(className);
    if (procedure == nullptr || !VideoSystem::instance().start()) {
        return nullptr;
    }
    HostWindow::Request request;
    request.procedure = procedure;
    request.title = windowName != nullptr ? windowName : "";
    request.style = style;
    request.x = x;
    request.y = y;
    request.outerWidth = width;
    request.outerHeight = height;
    WindowRegistry& windows = WindowRegistry::instance();
    const HostWindow* window = windows.create(request);
    if (window == nullptr) {
        return nullptr;
    }
    const HWND hwnd = window->handle();

    CREATESTRUCTA create = {};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cx = width;
    create.cy = height;
    create.x = x;
    create.y = y;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!windows.send(hwnd, WM_NCCREATE, 0, createParam)) {
        destroyWindow(hwnd, false);
        return nullptr;
    }
    if (windows.send(hwnd, WM_CREATE, 0, createParam) == -1) {
        destroyWindow(hwnd, true);
        return nullptr;
    }
    // Windows and Wine send the first WM_SIZE before CreateWindowEx returns.
    windows.reportSize(hwnd, true);
    if (style & WS_VISIBLE) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return windows.find(hwnd) != nullptr ? hwnd : nullptr;
}

BOOL WINAPI ShowWindow(HWND hwnd, int showMode)
{
    WindowRegistry& windows = WindowRegistry::instance();
    HostWindow* window = windows.find(hwnd);
    if (window == nullptr) {
        return FALSE;
    }
    const bool wasVisible = window->isVisible();
    const bool show = showMode != SW_HIDE;
    if (show == wasVisible) {
        return wasVisible;
    }
    windows.send(hwnd, WM_SHOWWINDOW, show, 0);
    window = windows.find(hwnd);
    if (window == nullptr) {
        return wasVisible;
    }
    if (!show) {
        window->hide();
        return wasVisible;
    }
    // The first showing sends WM_SIZE, before the program has set anything
    // up (Wine: WIN_NEED_SIZE); later ones only when the size changed.
    const bool firstShowing = !window->wasEverShown();
    window->show();
    windows.reportSize(hwnd, firstShowing);
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hwnd)
{
    WindowRegistry& windows = WindowRegistry::instance();
    const HostWindow* window = windows.find(hwnd);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->needsPaint()) {
        windows.send(hwnd, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    if (instance == nullptr && cursorName == IDC_ARROW) {
        return reinterpret_cast<HCURSOR>(&arrowCursor);
    }
    return nullptr;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        destroyWindow(hwnd, true);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the window (through SC_CLOSE on Windows).
        if (wParam == VK_F4 && (lParam & KeyTranslation::contextCodeBit) != 0) {
            WindowRegistry::instance().send(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_PAINT:
        // BeginPaint and EndPaint would validate the window; without them
        // the default processing does.
        if (HostWindow* window = WindowRegistry::instance().find(hwnd)) {
            window->validate();
        }
        return 0;
    default:
        return 0;
    }
}

HDC WINAPI GetDC(HWND hwnd)
{
    const HostWindow* window = WindowRegistry::instance().find(hwnd);
    return window != nullptr ? window->deviceContext() : nullptr;
}

BOOL WINAPI GetClientRect(HWND hwnd, RECT* rect)
{
    const HostWindow* window = WindowRegistry::instance().find(hwnd);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    int width = 0;
    int height = 0;
    window->clientSize(width, height);
    *rect = {0, 0, width, height};
    return TRUE;
}
