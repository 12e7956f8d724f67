#include "platform/sdl/WindowFrame.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace {
constexpr int extentsWaitMs = 500; // how long a window manager may take to answer
constexpr int extentsPollMs = 2;

// Motif window-manager hints, as window managers read them.
constexpr long motifFunctions = 1L << 0;
constexpr long motifDecorations = 1L << 1;
constexpr long motifFunctionResize = 1L << 1;
constexpr long motifFunctionMove = 1L << 2;
constexpr long motifFunctionMinimize = 1L << 3;
constexpr long motifFunctionMaximize = 1L << 4;
constexpr long motifFunctionClose = 1L << 5;
constexpr long motifDecorBorder = 1L << 1;
constexpr long motifDecorResize = 1L << 2;
constexpr long motifDecorTitle = 1L << 3;
constexpr long motifDecorMenu = 1L << 4;
constexpr long motifDecorMinimize = 1L << 5;
constexpr long motifDecorMaximize = 1L << 6;
constexpr int motifHintCount = 5;

// The first values of a 32-bit property, or none when it is not set.
int readLongs(Display* display, Window window, const char* name, Atom type, long* values, int count)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, property, 0, count, False, type, &actualType, &format, &items,
                           &remaining, &data) != Success) {
        return 0;
    }
    int read = 0;
    if (data != nullptr && actualType == type && format == 32) {
        const long* longs = reinterpret_cast<const long*>(data);
        for (; read < count && read < static_cast<int>(items); ++read) {
            values[read] = longs[read];
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return read;
}

bool readExtents(Display* display, Window window, WindowFrame::Extents& extents)
{
    long values[4] = {};
    if (readLongs(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL, values, 4) != 4) {
        return false;
    }
    extents.left = static_cast<int>(values[0]);
    extents.right = static_cast<int>(values[1]);
    extents.top = static_cast<int>(values[2]);
    extents.bottom = static_cast<int>(values[3]);
    return true;
}
}

WindowFrame::WindowFrame(SDL_Window* sdlWindow)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdlWindow, &info) && info.subsystem == SDL_SYSWM_X11) {
        display = info.info.x11.display;
        window = info.info.x11.window;
    }
}

void WindowFrame::applyStyle(DWORD style) const
{
    if (display == nullptr) {
        return;
    }
    long functions = motifFunctionMove;
    long decorations = motifDecorBorder;
    if (style & WS_THICKFRAME) {
        functions |= motifFunctionResize;
        decorations |= motifDecorResize;
    }
    if ((style & WS_CAPTION) == WS_CAPTION) {
        decorations |= motifDecorTitle;
    }
    if (style & WS_SYSMENU) {
        functions |= motifFunctionClose;
        decorations |= motifDecorMenu;
    }
    if (style & WS_MINIMIZEBOX) {
        functions |= motifFunctionMinimize;
        decorations |= motifDecorMinimize;
    }
    if (style & WS_MAXIMIZEBOX) {
        functions |= motifFunctionMaximize;
        decorations |= motifDecorMaximize;
    }
    const long hints[motifHintCount] = {motifFunctions | motifDecorations, functions, decorations, 0, 0};
    const Atom property = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, window, property, property, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), motifHintCount);
    XFlush(display);
}

void WindowFrame::leavePlacementToManager() const
{
    if (display == nullptr) {
        return;
    }
    XSizeHints* hints = XAllocSizeHints();
    long supplied = 0;
    XGetWMNormalHints(display, window, hints, &supplied);
    hints->flags &= ~(USPosition | PPosition);
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
    XFlush(display);
}

bool WindowFrame::managerSupports(const char* atomName) const
{
    const Window root = DefaultRootWindow(display);
    long check = 0;
    if (readLongs(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &check, 1) != 1) {
        return false;
    }
    const Atom wanted = XInternAtom(display, atomName, False);
    constexpr int supportedLimit = 1024; // atoms read from _NET_SUPPORTED
    long supported[supportedLimit];
    const int count = readLongs(display, root, "_NET_SUPPORTED", XA_ATOM, supported, supportedLimit);
    for (int i = 0; i < count; ++i) {
        if (static_cast<Atom>(supported[i]) == wanted) {
            return true;
        }
    }
    return false;
}

WindowFrame::Extents WindowFrame::expectedExtents() const
{
    if (display == nullptr || !managerSupports("_NET_REQUEST_FRAME_EXTENTS")) {
        return {};
    }
    XEvent request = {};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    // The answer is a property the window manager sets; polling it leaves the
    // PropertyNotify in the queue for SDL, which tracks the same extents.
    Extents extents;
    for (int waited = 0; waited < extentsWaitMs; waited += extentsPollMs) {
        XSync(display, False);
        if (readExtents(display, window, extents)) {
            break;
        }
        SDL_Delay(extentsPollMs);
    }
    return extents;
}

WindowFrame::Extents WindowFrame::currentExtents() const
{
    Extents extents;
    if (display != nullptr) {
        readExtents(display, window, extents);
    }
    return extents;
}
