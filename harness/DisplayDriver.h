// An X client that works a display as a person would: it finds top-level
// windows by title (through the window manager's frames), reads their
// geometry and window-manager properties, types and clicks through XTest,
// resizes and closes windows as the window manager's controls do, and
// captures what a window shows.
#pragma once

#include <set>
#include <string>
#include <vector>

struct _XDisplay;

class DisplayDriver {
public:
    struct Image {
        int width = 0;
        int height = 0;
        std::vector<unsigned char> rgb; // row by row from the top, three bytes a pixel
    };

    explicit DisplayDriver(const std::string& displayName);
    ~DisplayDriver();
    DisplayDriver(const DisplayDriver&) = delete;
    DisplayDriver& operator=(const DisplayDriver&) = delete;

    bool isOpen() const { return display != nullptr; }
    // a window manager has claimed the screen (_NET_SUPPORTING_WM_CHECK)
    bool hasWindowManager();

    // the mapped client window with this title, or 0 after timeoutMs
    unsigned long waitForWindow(const std::string& title, int timeoutMs);
    // true once the window no longer exists, false after timeoutMs
    bool waitForWindowGone(unsigned long window, int timeoutMs);
    bool windowExists(unsigned long window);
    // the window manager has taken the window in (it set WM_STATE)
    bool isManaged(unsigned long window);
    std::string windowTitle(unsigned long window);
    // the class half of WM_CLASS
    std::string windowClass(unsigned long window);
    // the client area in root coordinates
    bool clientGeometry(unsigned long window, int& rootX, int& rootY, int& width, int& height);
    // the window manager's frame around the client, or the client without one
    bool outerGeometry(unsigned long window, int& rootX, int& rootY, int& width, int& height);
    // _MOTIF_WM_HINTS asks for neither a minimise nor a maximise function
    bool hasMotifNoMinMax(unsigned long window);
    // _NET_WM_ALLOWED_ACTIONS as the window manager set them, e.g.
    // "_NET_WM_ACTION_MAXIMIZE_HORZ"
    std::vector<std::string> allowedActions(unsigned long window);

    // activates the window through the window manager and waits until it,
    // or a box it owns (a window transient for it), has the keyboard focus:
    // a modal box takes the focus in its owner's stead
    bool focus(unsigned long window);
    void keyDown(unsigned long keysym);
    void keyUp(unsigned long keysym);
    void tapKey(unsigned long keysym);
    // the server's auto-repeat for held keys
    void setKeyRepeat(int delayMs, int intervalMs);
    // no auto-repeat: a held key sends one key-down however long it is held
    void turnKeyRepeatOff();
    // switches the keyboard layout with setxkbmap, e.g. "fr", or "us" with
    // variant "dvorak"; keysyms then name the keys of the new layout
    bool setKeyboardLayout(const std::string& layout, const std::string& variant = "");
    // what the key at a place on the keyboard, given as its X key code,
    // types without modifiers in the layout in force
    unsigned long keysymAt(unsigned keycode);
    void moveMouseTo(int rootX, int rootY);
    void buttonDown(int button);
    void buttonUp(int button);
    // holds a key down for a while and lets it go, as a person would
    void holdKey(unsigned long keysym, int milliseconds);
    // holds a key down while the window presents `frames` frames, however
    // slowly they come, then lets it go and waits until a frame has taken
    // the release; false if frames stopped
    [[nodiscard]] bool holdKeyForFrames(unsigned long window, unsigned long keysym, int frames);
    // moves the pointer to a client pixel, the last step one pixel long: a
    // program that turns by the last mouse step once the button goes down
    // then turns by no more than that. Each step is taken by a frame before
    // the next is made; false if frames stopped.
    [[nodiscard]] bool approachClient(unsigned long window, int x, int y);
    // a left-button drag between two client pixels in `steps` moves, each
    // press, move and release taken by a frame of its own, as a hand paces
    // them; false if frames stopped
    [[nodiscard]] bool dragClient(unsigned long window, int fromX, int fromY, int toX, int toY, int steps);

    // a plain mapped top-level window of the driver's own, e.g. to take the
    // focus away from the window under test; it goes with the driver
    unsigned long createWindow(const std::string& title, int width, int height);
    void destroyWindow(unsigned long window);

    // asks for a new client size, as dragging the frame does
    void resizeClient(unsigned long window, int width, int height);
    // WM_DELETE_WINDOW, as the frame's close button sends it
    void requestClose(unsigned long window);

    // the client area's pixels; empty when the window cannot be read
    Image capture(unsigned long window);
    // waits until the window shows a frame drawn after this call (the
    // server's DAMAGE report of the drawing); false after timeoutMs
    bool waitForPresent(unsigned long window, int timeoutMs);
    // waits until the window presents a frame that took every input sent
    // before this call; false if frames stopped
    bool waitForInputTaken(unsigned long window);
    // captures presented frames until two in a row are equal: the picture
    // has stopped changing; empty if frames stopped or the picture still
    // changed after timeoutMs
    Image captureSettled(unsigned long window, int timeoutMs);
    // waits until the server has handled every request sent
    void sync();

private:
    _XDisplay* display = nullptr;
    int damageEventBase = -1; // -1: the server reports no drawing
    std::set<unsigned long> damagedWindows;
};
