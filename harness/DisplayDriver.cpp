#include "harness/DisplayDriver.h"

#include "harness/SpawnedProcess.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <chrono>
#include <unistd.h>

namespace {
constexpr int pollIntervalMs = 10;
constexpr int presentPollMs = 2;
// A frame that takes this long means the program has stopped presenting,
// however busy the machine: waiting on, the case would only fail later.
constexpr int frameTimeoutMs = 20000;
constexpr int focusWaitMs = 10000;
constexpr int commandTimeoutMs = 10000;
constexpr long motifFunctionsFlag = 1L << 0;
constexpr long motifFunctionAll = 1L << 0;
constexpr long motifFunctionMinimize = 1L << 3;
constexpr long motifFunctionMaximize = 1L << 4;
constexpr long activationFromPager = 2; // _NET_ACTIVE_WINDOW source: a tool acting for the user

int trappedErrors = 0;

int countError(Display*, XErrorEvent*)
{
    ++trappedErrors;
    return 0;
}

// Runs requests that may name a window already gone; false when the server
// answered with an error. The handler is the process's, so it is held only
// for the moment.
template <typename Requests>
bool withoutErrors(Display* display, Requests requests)
{
    XSync(display, False);
    trappedErrors = 0;
    const auto previous = XSetErrorHandler(countError);
    requests();
    XSync(display, False);
    XSetErrorHandler(previous);
    return trappedErrors == 0;
}

// A property's items as Xlib hands them out: chars for format 8, longs
// for format 32; none when it is unset or of another type.
template <typename Item>
std::vector<Item> propertyItems(Display* display, Window window, const char* name, Atom type,
                                int wantedFormat)
{
    std::vector<Item> values;
    withoutErrors(display, [&] {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type,
                               &actualType, &format, &count, &remaining, &data) == Success &&
            data != nullptr && format == wantedFormat && (type == AnyPropertyType || actualType == type)) {
            const Item* items = reinterpret_cast<const Item*>(data);
            values.assign(items, items + count);
        }
        if (data != nullptr) {
            XFree(data);
        }
    });
    return values;
}

std::vector<long> longProperty(Display* display, Window window, const char* name, Atom type)
{
    return propertyItems<long>(display, window, name, type, 32);
}

// The window's children; its parent too, where asked for.
std::vector<Window> childrenOf(Display* display, Window window, Window* parent = nullptr)
{
    std::vector<Window> children;
    withoutErrors(display, [&] {
        Window root = 0;
        Window up = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &up, &list, &count) != 0) {
            if (parent != nullptr) {
                *parent = up;
            }
            if (list != nullptr) {
                children.assign(list, list + count);
                XFree(list);
            }
        }
    });
    return children;
}

Window parentOf(Display* display, Window window)
{
    Window parent = 0;
    childrenOf(display, window, &parent);
    return parent;
}

// The window manager has taken the window in: it set WM_STATE.
bool hasWmState(Display* display, Window window)
{
    return !longProperty(display, window, "WM_STATE", AnyPropertyType).empty();
}

bool isViewable(Display* display, Window window)
{
    XWindowAttributes attributes = {};
    return withoutErrors(display, [&] { XGetWindowAttributes(display, window, &attributes); }) &&
           attributes.map_state == IsViewable;
}

std::string titleOf(Display* display, Window window)
{
    std::vector<char> title =
        propertyItems<char>(display, window, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False), 8);
    if (title.empty()) {
        title = propertyItems<char>(display, window, "WM_NAME", XA_STRING, 8);
    }
    return std::string(title.begin(), title.end());
}

// Depth first through the window manager's frames to the client windows,
// which carry WM_STATE; without a window manager the top level is the client.
Window findClient(Display* display, Window window, const std::string& title, bool topLevel)
{
    const bool isClient = topLevel || hasWmState(display, window);
    if (isClient && titleOf(display, window) == title && isViewable(display, window)) {
        return window;
    }
    for (const Window child : childrenOf(display, window)) {
        const Window found = findClient(display, child, title, false);
        if (found != 0) {
            return found;
        }
    }
    return 0;
}

// A client message as window managers and clients send each other.
XEvent clientMessage(Display* display, Window window, const char* type, long first, long second)
{
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, type, False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = first;
    message.xclient.data.l[1] = second;
    return message;
}

// One colour channel of an image's pixels: where its bits lie, found once
// per image rather than per pixel.
struct Channel {
    unsigned long mask = 0;
    int shift = 0;
    unsigned long maximum = 0;

    explicit Channel(unsigned long bits) : mask(bits)
    {
        if (mask == 0) {
            return;
        }
        while (((mask >> shift) & 1UL) == 0) {
            ++shift;
        }
        maximum = mask >> shift;
    }

    unsigned char of(unsigned long pixel) const
    {
        return maximum == 0 ? 0 : static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / maximum);
    }
};
}

DisplayDriver::DisplayDriver(const std::string& displayName) : display(XOpenDisplay(displayName.c_str()))
{
    int errorBase = 0;
    if (display != nullptr && !XDamageQueryExtension(display, &damageEventBase, &errorBase)) {
        damageEventBase = -1;
    }
}

DisplayDriver::~DisplayDriver()
{
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

unsigned long DisplayDriver::waitForWindow(const std::string& title, int timeoutMs)
{
    for (int waited = 0; display != nullptr; waited += pollIntervalMs) {
        for (const Window topLevel : childrenOf(display, DefaultRootWindow(display))) {
            const Window found = findClient(display, topLevel, title, true);
            if (found != 0) {
                return found;
            }
        }
        if (waited >= timeoutMs) {
            break;
        }
        usleep(pollIntervalMs * 1000);
    }
    return 0;
}

bool DisplayDriver::waitForWindowGone(unsigned long window, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += pollIntervalMs) {
        if (!windowExists(window)) {
            return true;
        }
        usleep(pollIntervalMs * 1000);
    }
    return !windowExists(window);
}

bool DisplayDriver::windowExists(unsigned long window)
{
    XWindowAttributes attributes = {};
    return withoutErrors(display, [&] { XGetWindowAttributes(display, window, &attributes); });
}

bool DisplayDriver::isManaged(unsigned long window)
{
    return hasWmState(display, window);
}

std::string DisplayDriver::windowTitle(unsigned long window)
{
    return titleOf(display, window);
}

std::string DisplayDriver::windowClass(unsigned long window)
{
    std::string name;
    withoutErrors(display, [&] {
        XClassHint hint = {};
        if (XGetClassHint(display, window, &hint) != 0) {
            name = hint.res_class != nullptr ? hint.res_class : "";
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
    });
    return name;
}

bool DisplayDriver::clientGeometry(unsigned long window, int& rootX, int& rootY, int& width, int& height)
{
    XWindowAttributes attributes = {};
    Window child = 0;
    const bool ok = withoutErrors(display, [&] {
        XGetWindowAttributes(display, window, &attributes);
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rootX, &rootY, &child);
    });
    width = attributes.width;
    height = attributes.height;
    return ok;
}

bool DisplayDriver::outerGeometry(unsigned long window, int& rootX, int& rootY, int& width, int& height)
{
    const Window root = DefaultRootWindow(display);
    Window topLevel = window;
    for (Window parent = parentOf(display, topLevel); parent != 0 && parent != root;
         parent = parentOf(display, topLevel)) {
        topLevel = parent;
    }
    XWindowAttributes attributes = {};
    if (!withoutErrors(display, [&] { XGetWindowAttributes(display, topLevel, &attributes); })) {
        return false;
    }
    rootX = attributes.x;
    rootY = attributes.y;
    width = attributes.width + 2 * attributes.border_width;
    height = attributes.height + 2 * attributes.border_width;
    return true;
}

bool DisplayDriver::hasMotifNoMinMax(unsigned long window)
{
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    const std::vector<long> hints = longProperty(display, window, "_MOTIF_WM_HINTS", motif);
    return hints.size() >= 2 && (hints[0] & motifFunctionsFlag) != 0 && (hints[1] & motifFunctionAll) == 0 &&
           (hints[1] & (motifFunctionMinimize | motifFunctionMaximize)) == 0;
}

std::vector<std::string> DisplayDriver::allowedActions(unsigned long window)
{
    std::vector<std::string> names;
    for (const long atom : longProperty(display, window, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM)) {
        char* name = XGetAtomName(display, static_cast<Atom>(atom));
        if (name != nullptr) {
            names.emplace_back(name);
            XFree(name);
        }
    }
    return names;
}

bool DisplayDriver::focus(unsigned long window)
{
    XEvent activate = clientMessage(display, window, "_NET_ACTIVE_WINDOW", activationFromPager, CurrentTime);
    withoutErrors(display, [&] {
        XRaiseWindow(display, window);
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &activate);
    });
    for (int waited = 0; waited < focusWaitMs; waited += pollIntervalMs) {
        Window focused = 0;
        int revert = 0;
        XGetInputFocus(display, &focused, &revert);
        Window owner = 0;
        if (focused == window ||
            (focused > PointerRoot &&
             withoutErrors(display, [&] { XGetTransientForHint(display, focused, &owner); }) &&
             owner == window)) {
            return true;
        }
        if (waited == focusWaitMs / 2) {
            // No window manager answered: the client takes the focus directly.
            withoutErrors(display, [&] { XSetInputFocus(display, window, RevertToParent, CurrentTime); });
        }
        usleep(pollIntervalMs * 1000);
    }
    return false;
}

void DisplayDriver::keyDown(unsigned long keysym)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), True, CurrentTime);
    XFlush(display);
}

void DisplayDriver::keyUp(unsigned long keysym)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), False, CurrentTime);
    XFlush(display);
}

void DisplayDriver::tapKey(unsigned long keysym)
{
    keyDown(keysym);
    keyUp(keysym);
}

void DisplayDriver::setKeyRepeat(int delayMs, int intervalMs)
{
    XAutoRepeatOn(display);
    XkbSetAutoRepeatRate(display, XkbUseCoreKbd, static_cast<unsigned int>(delayMs),
                         static_cast<unsigned int>(intervalMs));
    XSync(display, False);
}

void DisplayDriver::turnKeyRepeatOff()
{
    XAutoRepeatOff(display);
    XSync(display, False);
}

bool DisplayDriver::setKeyboardLayout(const std::string& layout, const std::string& variant)
{
    const bool switched = SpawnedProcess::run({"setxkbmap", "-display", DisplayString(display), "-layout",
                                               layout, "-variant", variant},
                                              commandTimeoutMs)
                              .succeeded;
    // Reading the server's notice of the new map makes Xlib reload its copy.
    sync();
    return switched;
}

unsigned long DisplayDriver::keysymAt(unsigned keycode)
{
    return XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
}

void DisplayDriver::moveMouseTo(int rootX, int rootY)
{
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XFlush(display);
}

void DisplayDriver::buttonDown(int button)
{
    XTestFakeButtonEvent(display, static_cast<unsigned int>(button), True, CurrentTime);
    XFlush(display);
}

void DisplayDriver::buttonUp(int button)
{
    XTestFakeButtonEvent(display, static_cast<unsigned int>(button), False, CurrentTime);
    XFlush(display);
}

void DisplayDriver::holdKey(unsigned long keysym, int milliseconds)
{
    keyDown(keysym);
    sync();
    usleep(static_cast<useconds_t>(milliseconds) * 1000);
    keyUp(keysym);
    sync();
}

bool DisplayDriver::holdKeyForFrames(unsigned long window, unsigned long keysym, int frames)
{
    keyDown(keysym);
    sync();
    bool presented = true;
    for (int frame = 0; frame < frames && presented; ++frame) {
        presented = waitForPresent(window, frameTimeoutMs);
    }
    keyUp(keysym);
    sync();
    return presented && waitForInputTaken(window);
}

bool DisplayDriver::approachClient(unsigned long window, int x, int y)
{
    int rootX = 0, rootY = 0, width = 0, height = 0;
    clientGeometry(window, rootX, rootY, width, height);
    // Moves still queued together may be merged into one (Windows does), so
    // the one-pixel step is made only once the first move has been taken.
    moveMouseTo(rootX + x + 1, rootY + y);
    sync();
    if (!waitForInputTaken(window)) {
        return false;
    }
    moveMouseTo(rootX + x, rootY + y);
    sync();
    return waitForInputTaken(window);
}

bool DisplayDriver::dragClient(unsigned long window, int fromX, int fromY, int toX, int toY, int steps)
{
    int rootX = 0, rootY = 0, width = 0, height = 0;
    clientGeometry(window, rootX, rootY, width, height);
    if (!approachClient(window, fromX, fromY)) {
        return false;
    }
    // A program that reads the button once a frame sees a press, moves and
    // a release that one frame took together as no drag at all.
    buttonDown(1);
    sync();
    bool taken = waitForInputTaken(window);
    for (int step = 1; step <= steps && taken; ++step) {
        moveMouseTo(rootX + fromX + (toX - fromX) * step / steps,
                    rootY + fromY + (toY - fromY) * step / steps);
        sync();
        taken = waitForInputTaken(window);
    }
    buttonUp(1);
    sync();
    return waitForInputTaken(window) && taken;
}

unsigned long DisplayDriver::createWindow(const std::string& title, int width, int height)
{
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), 0, 0, static_cast<unsigned int>(width),
        static_cast<unsigned int>(height), 0, BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, title.c_str());
    XWMHints hints = {};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

void DisplayDriver::destroyWindow(unsigned long window)
{
    withoutErrors(display, [&] { XDestroyWindow(display, window); });
}

void DisplayDriver::resizeClient(unsigned long window, int width, int height)
{
    withoutErrors(display, [&] {
        XResizeWindow(display, window, static_cast<unsigned int>(width), static_cast<unsigned int>(height));
    });
}

void DisplayDriver::requestClose(unsigned long window)
{
    const long deleteWindow = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XEvent close = clientMessage(display, window, "WM_PROTOCOLS", deleteWindow, CurrentTime);
    withoutErrors(display, [&] { XSendEvent(display, window, False, NoEventMask, &close); });
}

DisplayDriver::Image DisplayDriver::capture(unsigned long window)
{
    Image image;
    XWindowAttributes attributes = {};
    XImage* pixels = nullptr;
    withoutErrors(display, [&] {
        XGetWindowAttributes(display, window, &attributes);
        pixels = XGetImage(display, window, 0, 0, static_cast<unsigned int>(attributes.width),
                           static_cast<unsigned int>(attributes.height), AllPlanes, ZPixmap);
    });
    if (pixels == nullptr) {
        return image;
    }
    image.width = attributes.width;
    image.height = attributes.height;
    image.rgb.reserve(static_cast<size_t>(image.width) * image.height * 3);
    const Channel red(pixels->red_mask);
    const Channel green(pixels->green_mask);
    const Channel blue(pixels->blue_mask);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(pixels, x, y);
            image.rgb.push_back(red.of(pixel));
            image.rgb.push_back(green.of(pixel));
            image.rgb.push_back(blue.of(pixel));
        }
    }
    XDestroyImage(pixels);
    return image;
}

bool DisplayDriver::hasWindowManager()
{
    const std::vector<long> check =
        longProperty(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return check.size() == 1 && windowExists(static_cast<unsigned long>(check[0]));
}

bool DisplayDriver::waitForPresent(unsigned long window, int timeoutMs)
{
    if (display == nullptr || damageEventBase < 0) {
        return false;
    }
    const int damageNotify = damageEventBase + XDamageNotify;
    if (damagedWindows.count(window) == 0) {
        // Every drawing request into the window is reported; the report goes
        // with the window when it is destroyed.
        if (!withoutErrors(display, [&] { XDamageCreate(display, window, XDamageReportRawRectangles); })) {
            return false;
        }
        damagedWindows.insert(window);
    }
    // After a round trip every report of drawing done before now is queued;
    // drop them, so the next one is of a frame presented after this call.
    XSync(display, False);
    XEvent event;
    while (XCheckTypedWindowEvent(display, window, damageNotify, &event)) {
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!XCheckTypedWindowEvent(display, window, damageNotify, &event)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        usleep(presentPollMs * 1000);
    }
    return true;
}

bool DisplayDriver::waitForInputTaken(unsigned long window)
{
    // The first frame presented after the input may have read its messages
    // before the input came; the next one began after that frame's swap, and
    // a swap is a round trip to the server, which sent the input before it
    // answered.
    return waitForPresent(window, frameTimeoutMs) && waitForPresent(window, frameTimeoutMs);
}

DisplayDriver::Image DisplayDriver::captureSettled(unsigned long window, int timeoutMs)
{
    // Two frames presented one after the other show the same picture: by
    // then a frame has taken whatever input was sent before this call, however
    // slowly frames come. A window that stops presenting has not settled: the
    // program stopped, or a box is up.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    Image previous;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!waitForPresent(window, frameTimeoutMs)) {
            return {};
        }
        Image current = capture(window);
        if (current.width > 0 && current.width == previous.width && current.height == previous.height &&
            current.rgb == previous.rgb) {
            return current;
        }
        previous = std::move(current);
    }
    return {};
}

void DisplayDriver::sync()
{
    XSync(display, False);
}
