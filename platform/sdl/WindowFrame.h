// The X11 side of a top-level window: what the window manager is told about
// its frame (decorations, allowed actions, placement) and what it reports
// back (the frame's extents). Windows sizes a window frame included; X11
// sizes the client, so the layer asks the window manager for the frame.
#pragma once

#include "platform/Platform.h"

struct SDL_Window;
struct _XDisplay;

class WindowFrame {
public:
    struct Extents {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
    };

    // finds the X11 display and window behind an SDL window; inert on
    // another video driver
    explicit WindowFrame(SDL_Window* window);

    unsigned long xWindow() const { return window; }
    // _MOTIF_WM_HINTS from the window style: caption, sizing border, close,
    // minimise and maximise only where the style has them
    void applyStyle(DWORD style) const;
    // drops the position SDL always asks for, as CW_USEDEFAULT does on Windows
    void leavePlacementToManager() const;
    // the frame the window manager will draw, asked for before the window is
    // mapped (_NET_REQUEST_FRAME_EXTENTS); none without a window manager
    Extents expectedExtents() const;
    // the frame as the window manager has set it (_NET_FRAME_EXTENTS)
    Extents currentExtents() const;

private:
    bool managerSupports(const char* atomName) const;

    _XDisplay* display = nullptr;
    unsigned long window = 0;
};
