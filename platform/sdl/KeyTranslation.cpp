#include "platform/sdl/KeyTranslation.h"

namespace {
// lParam bits of a key message.
constexpr int scanCodeShift = 16;
constexpr LPARAM extendedKeyBit = 1L << 24;
constexpr LPARAM previousStateBit = 1L << 30; // the key was already down
constexpr LPARAM transitionBit = 1L << 31;    // the key is being released

struct KeyCode {
    SDL_Scancode scancode;
    BYTE virtualKey;
    BYTE scanCode; // PC set 1, as Windows puts in lParam
    bool extended; // the E0-prefixed keys
};

// Keys by their place on a PC keyboard.
constexpr KeyCode keyCodes[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false},
    {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false},
    {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 0x12, false},
    {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false},
    {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 0x17, false},
    {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false},
    {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 0x32, false},
    {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 0x18, false},
    {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false},
    {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false},
    {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 0x16, false},
    {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 0x11, false},
    {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false},
    {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', 0x02, false},
    {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false},
    {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false},
    {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false},
    {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false},
    {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},
    {SDL_SCANCODE_F2, VK_F2, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F3, 0x3D, false},
    {SDL_SCANCODE_F4, VK_F4, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F5, 0x3F, false},
    {SDL_SCANCODE_F6, VK_F6, 0x40, false},
    {SDL_SCANCODE_F7, VK_F7, 0x41, false},
    {SDL_SCANCODE_F8, VK_F8, 0x42, false},
    {SDL_SCANCODE_F9, VK_F9, 0x43, false},
    {SDL_SCANCODE_F10, VK_F10, 0x44, false},
    {SDL_SCANCODE_F11, VK_F11, 0x57, false},
    {SDL_SCANCODE_F12, VK_F12, 0x58, false},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},
    {SDL_SCANCODE_END, VK_END, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, 0x4F, false},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2, 0x50, false},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, 0x51, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, 0x4B, false},
    {SDL_SCANCODE_KP_5, VK_NUMPAD5, 0x4C, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, 0x4D, false},
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, 0x47, false},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8, 0x48, false},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, 0x49, false},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, false},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},
};

const KeyCode* findKey(SDL_Scancode scancode)
{
    for (const KeyCode& key : keyCodes) {
        if (key.scancode == scancode) {
            return &key;
        }
    }
    return nullptr;
}

struct PunctuationKey {
    char typed;
    BYTE virtualKey;
};

// The codes Windows gives the characters of the US keyboard's punctuation
// keys; ',', '-', '.' and '+' keep theirs on every layout.
constexpr PunctuationKey punctuationKeys[] = {
    {';', VK_OEM_1},     {'=', VK_OEM_PLUS},   {'+', VK_OEM_PLUS}, {',', VK_OEM_COMMA},
    {'-', VK_OEM_MINUS}, {'.', VK_OEM_PERIOD}, {'/', VK_OEM_2},    {'`', VK_OEM_3},
    {'[', VK_OEM_4},     {'\\', VK_OEM_5},     {']', VK_OEM_6},    {'\'', VK_OEM_7},
};

// 0 for a character that has no punctuation key of its own
WPARAM punctuationKeyOf(SDL_Keycode typed)
{
    for (const PunctuationKey& key : punctuationKeys) {
        if (key.typed == typed) {
            return key.virtualKey;
        }
    }
    return 0;
}

bool isLatinLetter(SDL_Keycode typed)
{
    return typed >= 'a' && typed <= 'z';
}

template <typename Character>
bool isDigit(Character typed)
{
    return typed >= '0' && typed <= '9';
}

// A layout whose letter keys type no Latin letter (Russian, Greek, ...):
// Windows then names every key by its US place.
bool layoutIsLatin()
{
    for (int scancode = SDL_SCANCODE_A; scancode <= SDL_SCANCODE_Z; ++scancode) {
        if (isLatinLetter(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)))) {
            return true;
        }
    }
    return false;
}

// Windows names a key by what it types in the active layout, not by its
// place: on AZERTY the key left of Z is 'A' and the one right of L is 'M',
// on Dvorak the US comma key is 'W'. The digit row keeps its digits where
// they need Shift (AZERTY), and keys typing what Windows has no code for
// keep their US one. SDL's key code is the unshifted character of the
// layout in force now, so a layout switched while running counts at once.
WPARAM virtualKeyOf(SDL_Keycode typed, const KeyCode& key)
{
    const WPARAM usKey = key.virtualKey;
    const bool typesCharacter =
        isDigit(usKey) || (usKey >= 'A' && usKey <= 'Z') || (usKey >= VK_OEM_1 && usKey <= VK_OEM_102);
    if (!typesCharacter || !layoutIsLatin()) {
        return usKey;
    }
    if (isLatinLetter(typed)) {
        return static_cast<WPARAM>(typed - 'a' + 'A');
    }
    if (isDigit(typed)) {
        return static_cast<WPARAM>(typed);
    }
    if (isDigit(usKey)) {
        return usKey;
    }
    const WPARAM punctuation = punctuationKeyOf(typed);
    return punctuation != 0 ? punctuation : usKey;
}
}

bool KeyTranslation::translate(const SDL_KeyboardEvent& key, char character, KeyMessage& message)
{
    const KeyCode* code = findKey(key.keysym.scancode);
    if (code == nullptr) {
        return false;
    }
    const WPARAM virtualKey = virtualKeyOf(key.keysym.sym, *code);
    const bool down = key.type == SDL_KEYDOWN;
    // SDL's modifier state already counts this event's own key.
    const bool altHeld = (key.keysym.mod & KMOD_ALT) != 0;
    const bool controlHeld = (key.keysym.mod & KMOD_CTRL) != 0;

    // Alt with Control is AltGr on many layouts: plain key messages then.
    bool system = false;
    if (virtualKey == VK_MENU) {
        system = down ? !controlHeld : altAlone;
        altAlone = down && system;
    } else {
        system = virtualKey == VK_F10 || (altHeld && !controlHeld);
        altAlone = altAlone && !system;
    }

    message.virtualKey = virtualKey;
    if (down) {
        message.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    } else {
        message.message = system ? WM_SYSKEYUP : WM_KEYUP;
    }
    LPARAM lParam = 1 | (static_cast<LPARAM>(code->scanCode) << scanCodeShift);
    if (code->extended) {
        lParam |= extendedKeyBit;
    }
    if (system && altHeld) {
        lParam |= contextCodeBit;
    }
    if (!down || key.repeat != 0) {
        lParam |= previousStateBit;
    }
    if (!down) {
        lParam |= transitionBit;
    }
    message.lParam = lParam;

    if (down) {
        // Delete types DEL under X11 but no character under Windows.
        characters[virtualKey] = virtualKey == VK_DELETE ? '\0' : character;
    }
    return true;
}

char KeyTranslation::characterOf(WPARAM virtualKey) const
{
    return virtualKey < virtualKeyCount ? characters[virtualKey] : '\0';
}
