#include "platform/sdl/EventTranslator.h"

#include "platform/sdl/WindowRegistry.h"

#include <SDL_syswm.h>
#include <X11/Xutil.h>

namespace {
// What a key types with the modifiers of its press, as Windows' ToAscii:
// letters with Shift and Caps Lock, Control codes, Return, Tab, Escape.
char typedCharacter(const XKeyEvent& key)
{
    XKeyEvent copy = key;
    char text[8] = {};
    return XLookupString(&copy, text, sizeof(text), nullptr, nullptr) == 1 ? text[0] : '\0';
}

struct ButtonMessages {
    Uint8 button;
    WPARAM flag;
    UINT down;
    UINT up;
};

constexpr ButtonMessages buttonMessages[] = {
    {SDL_BUTTON_LEFT, MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
    {SDL_BUTTON_MIDDLE, MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
    {SDL_BUTTON_RIGHT, MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
};

// SDL ends a move out of the window with one at the nearest edge, just
// before it says the pointer left; Windows sends no such move.
bool isLeavingMove(const SDL_MouseMotionEvent& motion)
{
    SDL_Event next;
    return SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           next.type == SDL_WINDOWEVENT && next.window.event == SDL_WINDOWEVENT_LEAVE &&
           next.window.windowID == motion.windowID;
}
}

EventTranslator& EventTranslator::instance()
{
    static EventTranslator translator;
    return translator;
}

void EventTranslator::pump(MessageQueue& queue)
{
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        translate(event, queue);
    }
}

void EventTranslator::translate(const SDL_Event& event, MessageQueue& queue)
{
    switch (event.type) {
    case SDL_SYSWMEVENT:
        if (event.syswm.msg != nullptr && event.syswm.msg->subsystem == SDL_SYSWM_X11) {
            translateX11(event.syswm.msg->msg.x11.event);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event.key, queue);
        break;
    case SDL_MOUSEMOTION:
        if (!isLeavingMove(event.motion)) {
            postPointer(event.motion.windowID, WM_MOUSEMOVE, event.motion.x, event.motion.y,
                        mouseFlags(event.motion.state), queue);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translateButton(event.button, queue);
        break;
    case SDL_WINDOWEVENT:
        translateWindowEvent(event.window);
        break;
    default:
        break;
    }
}

void EventTranslator::translateX11(const XEvent& event)
{
    pendingKeyType = 0;
    if (event.type != KeyPress && event.type != KeyRelease) {
        return;
    }
    const HostWindow* window = WindowRegistry::instance().findByXWindow(event.xkey.window);
    if (window != nullptr) {
        pendingKeyType = event.type;
        pendingKeyWindow = window->handle();
        pendingKeyCharacter = event.type == KeyPress ? typedCharacter(event.xkey) : '\0';
    }
}

void EventTranslator::translateKey(const SDL_KeyboardEvent& key, MessageQueue& queue)
{
    modifiers = key.keysym.mod;
    const bool paired = (key.type == SDL_KEYDOWN && pendingKeyType == KeyPress) ||
                        (key.type == SDL_KEYUP && pendingKeyType == KeyRelease);
    pendingKeyType = 0;
    KeyTranslation::KeyMessage message;
    if (paired && keys.translate(key, pendingKeyCharacter, message)) {
        queue.postInput(
            MessageQueue::make(pendingKeyWindow, message.message, message.virtualKey, message.lParam));
    }
}

WPARAM EventTranslator::mouseFlags(Uint32 buttonState) const
{
    WPARAM flags = 0;
    for (const ButtonMessages& button : buttonMessages) {
        if (buttonState & SDL_BUTTON(button.button)) {
            flags |= button.flag;
        }
    }
    if (modifiers & KMOD_SHIFT) {
        flags |= MK_SHIFT;
    }
    if (modifiers & KMOD_CTRL) {
        flags |= MK_CONTROL;
    }
    return flags;
}

void EventTranslator::translateButton(const SDL_MouseButtonEvent& event, MessageQueue& queue)
{
    // Every button counts for the flags, even one pressed or released
    // outside; its message goes only to the window under the pointer.
    const Uint32 mask = SDL_BUTTON(event.button);
    buttons = event.type == SDL_MOUSEBUTTONDOWN ? (buttons | mask) : (buttons & ~mask);
    for (const ButtonMessages& button : buttonMessages) {
        if (button.button == event.button) {
            postPointer(event.windowID, event.type == SDL_MOUSEBUTTONDOWN ? button.down : button.up, event.x,
                        event.y, mouseFlags(buttons), queue);
        }
    }
}

void EventTranslator::postPointer(Uint32 windowId, UINT message, int x, int y, WPARAM flags,
                                  MessageQueue& queue)
{
    // Without auto-capture SDL gives a move or release outside the window no
    // window, as Windows without SetCapture gives it none.
    const HostWindow* window = WindowRegistry::instance().findBySdlId(windowId);
    if (window == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    window->clientSize(width, height);
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    queue.postInput(MessageQueue::make(window->handle(), message, flags, MAKELPARAM(x, y)));
}

void EventTranslator::translateWindowEvent(const SDL_WindowEvent& event)
{
    WindowRegistry& windows = WindowRegistry::instance();
    HostWindow* window = windows.findBySdlId(event.windowID);
    if (window == nullptr || window->isDestroying()) {
        return;
    }
    switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        windows.reportSize(window->handle(), false);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        window->invalidate();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        // The close button sends WM_CLOSE, whose default handling destroys
        // the window.
        windows.send(window->handle(), WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}
