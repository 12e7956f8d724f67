// Turns SDL's pending events into the thread's messages, as the Windows
// input system does: keys and mouse become input messages in the queue,
// size changes and close requests are sent to the window procedure at once.
//
// Keys come from SDL's key events, paired each with the raw X11 key event
// just before it; SDL's own key releases at focus loss (and its presses on
// focus regain) have no such pair and are dropped, since Windows sends no
// key message for them. The mouse comes from raw X11 events, whose
// coordinates are the pointer's true ones (SDL clamps them to the window):
// only moves and clicks over the client area become messages.
#pragma once

#include "platform/Platform.h"
#include "platform/sdl/KeyTranslation.h"
#include "platform/sdl/MessageQueue.h"

#include <SDL.h>

union _XEvent;

class EventTranslator {
public:
    static EventTranslator& instance();

    // translates every event SDL has now
    void pump(MessageQueue& queue);
    // the character a key typed at its latest key-down, for TranslateMessage
    char characterOf(WPARAM virtualKey) const { return keys.characterOf(virtualKey); }

private:
    void translate(const SDL_Event& event, MessageQueue& queue);
    void translateX11(const _XEvent& event, MessageQueue& queue);
    void translateKey(const SDL_KeyboardEvent& key, MessageQueue& queue);
    void translateWindowEvent(const SDL_WindowEvent& event);
    void postPointer(unsigned long xWindow, UINT message, int x, int y, WPARAM flags, MessageQueue& queue);

    KeyTranslation keys;
    // the raw X11 key event that came just before, waiting for SDL's own
    int pendingKeyType = 0;
    HWND pendingKeyWindow = nullptr;
    char pendingKeyCharacter = '\0';
};
