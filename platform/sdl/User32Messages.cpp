// USER's message calls: the thread's queue, filled from SDL's events.
#include "platform/Platform.h"
#include "platform/sdl/EventTranslator.h"
#include "platform/sdl/MessageQueue.h"
#include "platform/sdl/VideoSystem.h"
#include "platform/sdl/WindowRegistry.h"

BOOL WINAPI PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (msg == nullptr) {
        return FALSE;
    }
    MessageQueue& queue = MessageQueue::forThisThread();
    if (VideoSystem::instance().isVideoThread()) {
        EventTranslator::instance().pump(queue);
    }
    const bool remove = (removeFlags & PM_REMOVE) != 0;
    if (queue.takeQueued(*msg, hwnd, filterMin, filterMax, remove)) {
        return TRUE;
    }
    // WM_PAINT stays until the window is validated, whatever removeFlags say.
    const HostWindow* painting = WindowRegistry::instance().findNeedingPaint(hwnd);
    if (painting != nullptr) {
        const MSG paint = MessageQueue::make(painting->handle(), WM_PAINT, 0, 0);
        if (MessageQueue::matches(paint, hwnd, filterMin, filterMax)) {
            *msg = paint;
            return TRUE;
        }
    }
    return queue.takeQuit(*msg, remove) ? TRUE : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    if (msg == nullptr) {
        return FALSE;
    }
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const char character = EventTranslator::instance().characterOf(msg->wParam);
        if (character != '\0') {
            // Posted, so it comes before any input still waiting.
            MSG typed = *msg;
            typed.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
            typed.wParam = static_cast<unsigned char>(character);
            MessageQueue::forThisThread().post(typed);
        }
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    // A thread message (WM_QUIT) has no window procedure to go to.
    if (msg == nullptr || msg->hwnd == nullptr) {
        return 0;
    }
    return WindowRegistry::instance().send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode)
{
    MessageQueue::forThisThread().postQuit(exitCode);
}
