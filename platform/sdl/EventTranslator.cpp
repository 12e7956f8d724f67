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

// MK_ flags from an X11 pointer state, which is the state before the event.
WPARAM mouseFlagsOf(unsigned int state)
{
    WPARAM flags = 0;
    if (state & Button1Mask) {
        flags |= MK_LBUTTON;
    }
    if (state & Button2Mask) {
        flags |= MK_MBUTTON;
    }
    if (state & Button3Mask) {
        flags |= MK_RBUTTON;
    }
    if (state & ShiftMask) {
        flags |= MK_SHIFT;
    }
    if (state & ControlMask) {
        flags |= MK_CONTROL;
    }
    return flags;
}

struct ButtonMessages {
    unsigned int button;
    unsigned int mask;
    WPARAM flag;
    UINT down;
    UINT up;
};

constexpr ButtonMessages buttonMessages[] = {
    {Button1, Button1Mask, MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
    {Button2, Button2Mask, MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
    {Button3, Button3Mask, MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
};
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
            translateX11(event.syswm.msg->msg.x11.event, queue);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event.key, queue);
        break;
    case SDL_WINDOWEVENT:
        translateWindowEvent(event.window);
        break;
    default:
        break;
    }
}

void EventTranslator::translateX11(const XEvent& event, MessageQueue& queue)
{
    pendingKeyType = 0;
    switch (event.type) {
    case KeyPress:
    case KeyRelease: {
        const HostWindow* window = WindowRegistry::instance().findByXWindow(event.xkey.window);
        if (window != nullptr) {
            pendingKeyType = event.type;
            pendingKeyWindow = window->handle();
            pendingKeyCharacter = event.type == KeyPress ? typedCharacter(event.xkey) : '\0';
        }
        break;
    }
    case MotionNotify:
        postPointer(event.xmotion.window, WM_MOUSEMOVE, event.xmotion.x, event.xmotion.y,
                    mouseFlagsOf(event.xmotion.state), queue);
        break;
    case ButtonPress:
    case ButtonRelease:
        for (const ButtonMessages& button : buttonMessages) {
            if (button.button == event.xbutton.button) {
                const bool press = event.type == ButtonPress;
                // Windows' flags tell the buttons down after the event.
                WPARAM flags = mouseFlagsOf(event.xbutton.state & ~button.mask);
                if (press) {
                    flags |= button.flag;
                }
                postPointer(event.xbutton.window, press ? button.down : button.up, event.xbutton.x,
                            event.xbutton.y, flags, queue);
            }
        }
        break;
    default:
        break;
    }
}

void EventTranslator::translateKey(const SDL_KeyboardEvent& key, MessageQueue& queue)
{
    const bool paired = (key.type == SDL_KEYDOWN && pendingKeyType == KeyPress) ||
                        (key.type == SDL_KEYUP && pendingKeyType == KeyRelease);
    pendingKeyType = 0;
    KeyTranslation::KeyMessage message;
    if (paired && keys.translate(key, pendingKeyCharacter, message)) {
        queue.postInput(MessageQueue::make(pendingKeyWindow, message.message, message.virtualKey, message.lParam));
    }
}

void EventTranslator::postPointer(unsigned long xWindow, UINT message, int x, int y, WPARAM flags,
                                  MessageQueue& queue)
{
    const HostWindow* window = WindowRegistry::instance().findByXWindow(xWindow);
    if (window == nullptr) {
        return;
    }
    // X11's implicit grab sends a dragging pointer's moves and release to the
    // window it left; Windows, without SetCapture, does not.
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
