// Keys as Windows reports them: SDL key events become WM_KEYDOWN/WM_KEYUP,
// or WM_SYSKEYDOWN/WM_SYSKEYUP for keys pressed with Alt and for F10, with
// the virtual-key code in wParam and a Win32 lParam: repeat count 1, the PC
// scan code, the extended-key flag, the context code (Alt down), the
// previous key state and the transition state.
#pragma once

#include "platform/Platform.h"

#include <SDL.h>

class KeyTranslation {
public:
    // the lParam bit of a key message sent while Alt is held
    static constexpr LPARAM contextCodeBit = 1L << 29;

    struct KeyMessage {
        UINT message = 0;
        WPARAM virtualKey = 0;
        LPARAM lParam = 0;
    };

    // the message for a key event; false for a key that has no virtual-key
    // code. character is what the key types with the modifiers held (0 for
    // none); TranslateMessage hands it out later.
    bool translate(const SDL_KeyboardEvent& key, char character, KeyMessage& message);
    // the character the key typed at its latest key-down, as TranslateMessage
    // turns a WM_KEYDOWN into WM_CHAR; 0 when it types none
    char characterOf(WPARAM virtualKey) const;

private:
    static constexpr int virtualKeyCount = 256;

    // Alt went down and no other key has made a system-key message since:
    // only then is Alt's own release WM_SYSKEYUP (as Windows and Wine do).
    bool altAlone = false;
    char characters[virtualKeyCount] = {};
};
