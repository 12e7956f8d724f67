// Real key presses through XTest into the focused window: virtual-key codes,
// the Win32 lParam, auto-repeat, system keys and characters.
#include "tests/platform/DesktopTest.h"

#include <X11/keysym.h>
#include <linux/input-event-codes.h>

namespace {
constexpr LPARAM repeatCountMask = 0xFFFF;
constexpr int scanCodeShift = 16;
constexpr LPARAM scanCodeMask = 0xFF;
constexpr LPARAM extendedBit = 1L << 24;
constexpr LPARAM altBit = 1L << 29;
constexpr LPARAM previousStateBit = 1L << 30;
constexpr LPARAM transitionBit = 1L << 31;
constexpr int repeatDelayMs = 150;
constexpr int repeatIntervalMs = 30;
constexpr int keyRepeats = 3; // key-downs to see while a key is held
constexpr int unseenWaitMs = 300;
constexpr int thiefSize = 200; // pixels each way of the window that takes the focus away

struct KeyCase {
    unsigned long keysym;
    WPARAM virtualKey;
    LPARAM scanCode;
    bool extended;
};

constexpr KeyCase keyCases[] = {
    {XK_w, 'W', 0x11, false},
    {XK_a, 'A', 0x1E, false},
    {XK_s, 'S', 0x1F, false},
    {XK_d, 'D', 0x20, false},
    {XK_5, '5', 0x06, false},
    {XK_Escape, VK_ESCAPE, 0x01, false},
    {XK_BackSpace, VK_BACK, 0x0E, false},
    {XK_Return, VK_RETURN, 0x1C, false},
    {XK_space, VK_SPACE, 0x39, false},
    {XK_Tab, VK_TAB, 0x0F, false},
    {XK_Left, VK_LEFT, 0x4B, true},
    {XK_Up, VK_UP, 0x48, true},
    {XK_Right, VK_RIGHT, 0x4D, true},
    {XK_Down, VK_DOWN, 0x50, true},
    {XK_F1, VK_F1, 0x3B, false},
    {XK_F12, VK_F12, 0x58, false},
    {XK_Shift_L, VK_SHIFT, 0x2A, false},
    {XK_Control_L, VK_CONTROL, 0x1D, false},
    {XK_Control_R, VK_CONTROL, 0x1D, true},
    {XK_Delete, VK_DELETE, 0x53, true},
};

// A key by its place, the US key there named by its Linux input code, in a
// layout; what it types there; the code Windows names it by.
struct LayoutCase {
    const char* layout;
    const char* variant;
    unsigned place;
    unsigned long typed;
    WPARAM virtualKey;
};

// clang-format off
constexpr LayoutCase layoutCases[] = {
    {"fr", "", KEY_Z, XK_w, 'W'},
    {"fr", "", KEY_W, XK_z, 'Z'},
    {"fr", "", KEY_SEMICOLON, XK_m, 'M'},
    {"fr", "", KEY_M, XK_comma, VK_OEM_COMMA},
    {"fr", "", KEY_1, XK_ampersand, '1'}, // the digits need Shift
    {"de", "", KEY_Y, XK_z, 'Z'},
    {"de", "", KEY_RIGHTBRACE, XK_plus, VK_OEM_PLUS},
    {"us", "dvorak", KEY_COMMA, XK_w, 'W'},
    {"us", "dvorak", KEY_W, XK_comma, VK_OEM_COMMA},
    {"us", "dvorak", KEY_Z, XK_semicolon, VK_OEM_1},
    {"ru", "", KEY_W, XK_Cyrillic_tse, 'W'}, // no Latin letters: US places
    {"ru", "", KEY_SLASH, XK_period, VK_OEM_2},
    {"us", "", KEY_W, XK_w, 'W'},
};
// clang-format on
constexpr unsigned evdevKeycodeOffset = 8; // X key codes on the evdev rules

LPARAM scanCodeOf(LPARAM lParam)
{
    return (lParam >> scanCodeShift) & scanCodeMask;
}

// The key messages among the entries, without the characters.
std::vector<MessageLog::Entry> keyMessages()
{
    std::vector<MessageLog::Entry> keys;
    for (const auto& entry : MessageLog::instance().entries()) {
        if (entry.message >= WM_KEYDOWN && entry.message <= WM_SYSKEYUP && entry.message != WM_CHAR &&
            entry.message != WM_SYSCHAR) {
            keys.push_back(entry);
        }
    }
    return keys;
}
} // namespace

class Keyboard : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        xWindow = showWindow("Keyboard", hwnd);
        ASSERT_NE(xWindow, 0u);
        ASSERT_TRUE(driver().focus(xWindow));
        log().pumpFor(settleMs);
        log().clear();
    }

    HWND hwnd = nullptr;
    unsigned long xWindow = 0;
};

TEST_F(Keyboard, KeysArriveWithVirtualKeyAndScanCodes)
{
    for (const KeyCase& key : keyCases) {
        log().clear();
        driver().tapKey(key.keysym);
        ASSERT_TRUE(waitFor(WM_KEYUP)) << "no WM_KEYUP for virtual key " << key.virtualKey;
        const auto downs = log().ofType(WM_KEYDOWN);
        const auto ups = log().ofType(WM_KEYUP);
        ASSERT_EQ(downs.size(), 1u);
        ASSERT_EQ(ups.size(), 1u);
        EXPECT_EQ(downs[0].hwnd, hwnd);
        EXPECT_EQ(downs[0].wParam, key.virtualKey);
        EXPECT_EQ(ups[0].wParam, key.virtualKey);
        EXPECT_EQ(scanCodeOf(downs[0].lParam), key.scanCode) << "virtual key " << key.virtualKey;
        EXPECT_EQ((downs[0].lParam & extendedBit) != 0, key.extended) << "virtual key " << key.virtualKey;
    }
}

TEST_F(Keyboard, KeysAreNamedByWhatTheyTypeInTheLayoutInForce)
{
    std::string layout = "us";
    for (const LayoutCase& key : layoutCases) {
        const std::string name = std::string(key.layout) + " " + key.variant;
        if (name != layout) {
            ASSERT_TRUE(driver().setKeyboardLayout(key.layout, key.variant)) << name;
            layout = name;
        }
        ASSERT_EQ(driver().keysymAt(key.place + evdevKeycodeOffset), key.typed)
            << name << " key " << key.place;
        log().clear();
        driver().tapKey(key.typed);
        ASSERT_TRUE(waitFor(WM_KEYUP)) << name << " key " << key.place;
        EXPECT_EQ(log().ofType(WM_KEYDOWN).at(0).wParam, key.virtualKey) << name << " key " << key.place;
    }
}

TEST_F(Keyboard, PressAndReleaseCarryTheWin32KeyState)
{
    driver().tapKey(XK_w);
    ASSERT_TRUE(waitFor(WM_KEYUP));
    const auto keys = keyMessages();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[0].lParam & repeatCountMask, 1);
    EXPECT_EQ(keys[0].lParam & (altBit | previousStateBit | transitionBit), 0);
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(keys[1].lParam & repeatCountMask, 1);
    EXPECT_EQ(keys[1].lParam & (previousStateBit | transitionBit), previousStateBit | transitionBit);
    EXPECT_EQ(keys[1].lParam & altBit, 0);
}

TEST_F(Keyboard, HeldKeyRepeatsAsKeyDownsWithThePreviousStateSet)
{
    driver().setKeyRepeat(repeatDelayMs, repeatIntervalMs);
    driver().keyDown(XK_d);
    const bool repeated = waitFor(WM_KEYDOWN, keyRepeats);
    driver().keyUp(XK_d);
    ASSERT_TRUE(repeated) << "holding D gave no auto-repeat";
    ASSERT_TRUE(waitFor(WM_KEYUP));
    const auto downs = log().ofType(WM_KEYDOWN);
    EXPECT_EQ(downs[0].lParam & previousStateBit, 0);
    for (size_t i = 1; i < downs.size(); ++i) {
        EXPECT_EQ(downs[i].wParam, static_cast<WPARAM>('D'));
        EXPECT_NE(downs[i].lParam & previousStateBit, 0) << "repeat " << i;
    }
    log().pumpFor(unseenWaitMs);
    EXPECT_EQ(log().count(WM_KEYUP), 1) << "a repeat is no release";
}

TEST_F(Keyboard, KeysPressedWithAltArriveAsSystemKeys)
{
    driver().keyDown(XK_Alt_L);
    driver().tapKey(XK_w);
    driver().keyUp(XK_Alt_L);
    ASSERT_TRUE(log().pumpUntil([] { return keyMessages().size() >= 4; }, windowWaitMs));
    const auto keys = keyMessages();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_NE(keys[0].lParam & altBit, 0);
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('W'));
    EXPECT_NE(keys[1].lParam & altBit, 0);
    EXPECT_EQ(keys[2].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>('W'));
    // Alt released after another key is a plain key-up on Windows.
    EXPECT_EQ(keys[3].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(keys[3].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(log().count(WM_SYSCHAR), 1) << "Alt+W types a system character";
}

TEST_F(Keyboard, AltAloneIsSystemKeyDownAndUp)
{
    driver().tapKey(XK_Alt_L);
    ASSERT_TRUE(waitFor(WM_SYSKEYUP));
    const auto keys = keyMessages();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(keys[1].lParam & altBit, 0) << "Alt is up at its own release";
}

TEST_F(Keyboard, F10ArrivesAsSystemKeyWithoutAlt)
{
    driver().tapKey(XK_F10);
    ASSERT_TRUE(waitFor(WM_SYSKEYUP));
    const auto keys = keyMessages();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_F10));
    EXPECT_EQ(keys[0].lParam & altBit, 0);
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(log().count(WM_KEYDOWN), 0);
}

TEST_F(Keyboard, AltF4ClosesTheWindowThroughTheDefaultProcessing)
{
    driver().keyDown(XK_Alt_L);
    driver().tapKey(XK_F4);
    driver().keyUp(XK_Alt_L);
    ASSERT_TRUE(waitFor(WM_QUIT));
    const int f4 = log().indexOf(WM_SYSKEYDOWN, log().indexOf(WM_SYSKEYDOWN) + 1);
    ASSERT_GE(f4, 0);
    EXPECT_EQ(log().entries()[f4].wParam, static_cast<WPARAM>(VK_F4));
    EXPECT_LT(f4, log().indexOf(WM_CLOSE));
    EXPECT_LT(log().indexOf(WM_CLOSE), log().indexOf(WM_DESTROY));
    EXPECT_EQ(GetDC(hwnd), nullptr);
}

TEST_F(Keyboard, TranslateMessageTypesCharactersRightAfterTheirKeys)
{
    driver().tapKey(XK_a);
    driver().keyDown(XK_Shift_L);
    driver().tapKey(XK_b);
    driver().keyUp(XK_Shift_L);
    driver().tapKey(XK_Return);
    driver().tapKey(XK_Left);
    ASSERT_TRUE(log().pumpUntil([] { return log().count(WM_KEYUP) >= 5; }, windowWaitMs));
    const auto characters = log().ofType(WM_CHAR);
    ASSERT_EQ(characters.size(), 3u) << "the Left arrow types nothing";
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(characters[1].wParam, static_cast<WPARAM>('B'));
    EXPECT_EQ(characters[2].wParam, static_cast<WPARAM>('\r'));
    // Each character is posted, so it comes before the key's release waiting
    // in the input.
    const auto& entries = log().entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].message == WM_CHAR) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(entries[i - 1].message, static_cast<UINT>(WM_KEYDOWN));
            EXPECT_EQ(entries[i].lParam, entries[i - 1].lParam);
        }
    }
}

TEST_F(Keyboard, KeyReleasedWhileAnotherWindowHasTheFocusIsNotSeen)
{
    driver().keyDown(XK_w);
    ASSERT_TRUE(waitFor(WM_KEYDOWN));
    const unsigned long other = driver().createWindow("Focus thief", thiefSize, thiefSize);
    ASSERT_TRUE(driver().focus(other));
    log().pumpFor(unseenWaitMs);
    driver().keyUp(XK_w);
    log().pumpFor(unseenWaitMs);
    ASSERT_TRUE(driver().focus(xWindow));
    driver().tapKey(XK_x);
    ASSERT_TRUE(log().pumpUntil(
        [] {
            const auto ups = log().ofType(WM_KEYUP);
            return !ups.empty() && ups.back().wParam == static_cast<WPARAM>('X');
        },
        windowWaitMs));
    for (const auto& up : log().ofType(WM_KEYUP)) {
        EXPECT_NE(up.wParam, static_cast<WPARAM>('W')) << "W's release happened elsewhere";
    }
    driver().destroyWindow(other);
}
