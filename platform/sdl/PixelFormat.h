// A window's one pixel format. On X11 the GLX visual is fixed when the window
// is created, so a window offers exactly one format: the one it has. A probe
// context reads what that format really is, so that ChoosePixelFormat and
// SetPixelFormat fail honestly when it does not meet the request; the probe
// then serves as the window's first rendering context.
#pragma once

#include "platform/Platform.h"

#include <SDL.h>

class PixelFormat {
public:
    // the index of the one format a window offers
    static constexpr int onlyFormat = 1;

    PixelFormat(SDL_Window* window, bool hasOpenGl);
    ~PixelFormat();
    PixelFormat(const PixelFormat&) = delete;
    PixelFormat& operator=(const PixelFormat&) = delete;

    // onlyFormat when the window's format meets the request, else 0
    int choose(const PIXELFORMATDESCRIPTOR* request);
    // as Windows: once per window; the same format again succeeds and changes
    // nothing, another one fails
    bool set(int format, const PIXELFORMATDESCRIPTOR* request);
    bool isSet() const { return setFormat != 0; }
    // a rendering context for the window, not made current: the probe while
    // it is unused, else a new one; null on failure
    SDL_GLContext createContext();

private:
    struct Description {
        bool doubleBuffer = false;
        bool compatibility = false;
        int alphaBits = 0;
        int depthBits = 0;
        int stencilBits = 0;
    };

    bool probe();
    bool satisfies(const PIXELFORMATDESCRIPTOR* request);

    SDL_Window* window = nullptr;
    bool hasOpenGl = false;
    bool probed = false;
    bool probeSucceeded = false;
    Description description;
    SDL_GLContext spareContext = nullptr;
    int setFormat = 0;
};
