#include "platform/sdl/MessageQueue.h"

#include <SDL.h>

#include <algorithm>

MessageQueue& MessageQueue::forThisThread()
{
    thread_local MessageQueue queue;
    return queue;
}

MSG MessageQueue::make(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_GetTicks();
    int x = 0;
    int y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_GetGlobalMouseState(&x, &y);
    }
    msg.pt.x = x;
    msg.pt.y = y;
    return msg;
}

bool MessageQueue::matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    const bool anyMessage = filterMin == 0 && filterMax == 0;
    return (hwnd == nullptr || msg.hwnd == hwnd) &&
           (anyMessage || (msg.message >= filterMin && msg.message <= filterMax));
}

void MessageQueue::postQuit(int exitCode)
{
    quitPending = true;
    quitCode = exitCode;
}

bool MessageQueue::takeQueued(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove)
{
    for (std::deque<MSG>* queue : {&posted, &input}) {
        const auto found = std::find_if(queue->begin(), queue->end(), [&](const MSG& waiting) {
            return matches(waiting, hwnd, filterMin, filterMax);
        });
        if (found != queue->end()) {
            msg = *found;
            if (remove) {
                queue->erase(found);
            }
            return true;
        }
    }
    return false;
}

bool MessageQueue::takeQuit(MSG& msg, bool remove)
{
    if (!quitPending) {
        return false;
    }
    msg = make(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
    if (remove) {
        quitPending = false;
    }
    return true;
}

void MessageQueue::forgetWindow(HWND hwnd)
{
    for (std::deque<MSG>* queue : {&posted, &input}) {
        queue->erase(
            std::remove_if(queue->begin(), queue->end(), [hwnd](const MSG& msg) { return msg.hwnd == hwnd; }),
            queue->end());
    }
}
