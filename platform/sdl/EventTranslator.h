// Turns SDL's pending events into the thread's messages, as the Windows
// input system does: keys and mouse become input messages in the queue,
// size changes and close requests are sent to the window procedure at once.
//
// Keys come from SDL's key events, paired each with the raw X11 key event
// just before it; SDL's own key releases at focus loss (and its presses on
// focus regain) have no such pair and are dropped, since Windows sends no
// key message for them. The mouse comes from SDL's events without
// auto-capture, so only moves and clicks over the client area become
// messages.
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
    void translateX11(const _XEvent& event);
    void translateKey(const SDL_KeyboardEvent& key, MessageQueue& queue);
    void translateWindowEvent(const SDL_WindowEvent& event);
    void translateButton(const SDL_MouseButtonEvent& button, MessageQueue& queue);
    WPARAM mouseFlags(Uint32 buttonState) const;
    void postPointer(Uint32 windowId, UINT message, int x, int y, WPARAM flags, MessageQueue& queue);

    KeyTranslation keys;
    // the modifiers and buttons as of the latest event, for MK_ flags
    Uint16 modifiers = 0;
    Uint32 buttons = 0;
    // the raw X11 key event that came just before, waiting for SDL's own
    int pendingKeyType = 0;
    HWND pendingKeyWindow = nullptr;
    char pendingKeyCharacter = '\0';
};
