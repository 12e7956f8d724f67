// A real OpenGL compatibility context (Mesa) on a hidden window, for tests
// that compile display lists, draw and read pixels back. Needs an X display;
// tools/test.sh provides a virtual one.
#pragma once

#include <SDL.h>

class GlTestContext {
public:
    GlTestContext(int width = 64, int height = 64);
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    // true when the context exists and is current
    bool isReady() const { return context != nullptr; }
    // why the context could not be made, for the assertion message
    const char* failure() const { return failureText; }

private:
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    const char* failureText = "";
};
