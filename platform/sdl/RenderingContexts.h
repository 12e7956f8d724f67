// The OpenGL rendering contexts behind HGLRC handles. A context belongs to
// the window it was made for and goes with it: there is no
// wglDeleteContext in the program's subset.
#pragma once

#include "platform/Platform.h"

#include <SDL.h>

#include <vector>

class RenderingContexts {
public:
    static RenderingContexts& instance();

    HGLRC add(HWND window, SDL_GLContext context);
    // null when the handle names no live context
    SDL_GLContext find(HGLRC handle) const;
    void forgetWindow(HWND window);

private:
    struct Entry {
        HGLRC handle = nullptr;
        HWND window = nullptr;
        SDL_GLContext context = nullptr;
    };

    std::vector<Entry> entries;
    uintptr_t nextHandle = 0x20000; // never reused, so a stale handle finds nothing
};
