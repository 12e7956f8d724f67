#include "tests/platform/MessageLog.h"

#include <chrono>
#include <thread>

namespace {
constexpr int pumpSleepMs = 2;
}

MessageLog& MessageLog::instance()
{
    static MessageLog messages;
    return messages;
}

LRESULT CALLBACK MessageLog::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageLog& messages = instance();
    MessageLog::Entry entry = {hwnd, message, wParam, lParam, {}};
    if ((message == WM_NCCREATE || message == WM_CREATE) && lParam != 0) {
        entry.creation = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
    }
    messages.log.push_back(entry);
    if (message == WM_CREATE && messages.failCreate) {
        return -1;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MessageLog::registerClass()
{
    if (registered) {
        return;
    }
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    registered = RegisterClassExA(&windowClass) != 0;
}

HWND MessageLog::createWindow(const char* title, DWORD style, int width, int height)
{
    registerClass();
    const HWND hwnd = CreateWindowExA(0, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                                      nullptr, nullptr, nullptr, nullptr);
    if (hwnd != nullptr) {
        created.push_back(hwnd);
    }
    return hwnd;
}

void MessageLog::destroyWindows()
{
    for (const HWND hwnd : created) {
        // GetDC answers only for a window that still exists.
        if (GetDC(hwnd) != nullptr) {
            DefWindowProcA(hwnd, WM_CLOSE, 0, 0);
        }
    }
    created.clear();
}

bool MessageLog::pumpUntil(const std::function<bool()>& done, int timeoutMs, bool translate)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        MSG msg = {};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                log.push_back({nullptr, WM_QUIT, msg.wParam, msg.lParam});
                continue;
            }
            if (translate) {
                TranslateMessage(&msg);
            }
            DispatchMessageA(&msg);
        }
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pumpSleepMs));
    }
}

void MessageLog::pumpFor(int milliseconds)
{
    pumpUntil([] { return false; }, milliseconds);
}

void MessageLog::drain()
{
    MSG msg = {};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

std::vector<MessageLog::Entry> MessageLog::ofType(UINT message) const
{
    std::vector<Entry> found;
    for (const Entry& entry : log) {
        if (entry.message == message) {
            found.push_back(entry);
        }
    }
    return found;
}

int MessageLog::indexOf(UINT message, int from) const
{
    for (int i = from; i < static_cast<int>(log.size()); ++i) {
        if (log[i].message == message) {
            return i;
        }
    }
    return -1;
}
