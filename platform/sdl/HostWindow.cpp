#include "platform/sdl/HostWindow.h"

#include "platform/sdl/DisplayLoss.h"

#include <algorithm>

namespace {
constexpr int minimumDepthBits = 16; // what any OpenGL window is created with, at least

// X11 fixes a window's GLX visual when the window is made, long before
// SetPixelFormat, so every window asks for what the program's pixel format
// needs. A display without GLX still gets a window, as on Windows a window
// never needs OpenGL; its pixel format then fails.
SDL_Window* createSdlWindow(const HostWindow::Request& request, bool& hasOpenGl)
{
    const int x = request.x == CW_USEDEFAULT ? SDL_WINDOWPOS_UNDEFINED : request.x;
    const int y = request.y == CW_USEDEFAULT ? SDL_WINDOWPOS_UNDEFINED : request.y;
    const int width = std::max(1, request.outerWidth);
    const int height = std::max(1, request.outerHeight);
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (request.style & WS_THICKFRAME) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, minimumDepthBits);
    SDL_Window* window =
        SDL_CreateWindow(request.title.c_str(), x, y, width, height, flags | SDL_WINDOW_OPENGL);
    hasOpenGl = window != nullptr;
    if (window == nullptr) {
        window = SDL_CreateWindow(request.title.c_str(), x, y, width, height, flags);
    }
    return window;
}
}

std::unique_ptr<HostWindow> HostWindow::create(const Request& request)
{
    bool hasOpenGl = false;
    SDL_Window* window = createSdlWindow(request, hasOpenGl);
    if (window == nullptr) {
        // without a window the program ends in silence: a lost display says so
        DisplayLoss::endIfLost();
        return nullptr;
    }
    std::unique_ptr<HostWindow> host(new HostWindow(request, window, hasOpenGl));
    host->frame.applyStyle(request.style);
    if (request.x == CW_USEDEFAULT) {
        host->frame.leavePlacementToManager();
    }
    // WM_CREATE and WM_SIZE already carry the client size on Windows, so the
    // frame is asked for before the window is ever shown.
    host->fitClientToFrame(host->frame.expectedExtents());
    return host;
}

HostWindow::HostWindow(const Request& windowRequest, SDL_Window* sdlWindow, bool hasOpenGl)
    : request(windowRequest), window(sdlWindow), frame(sdlWindow),
      format(std::make_unique<PixelFormat>(sdlWindow, hasOpenGl))
{
}

HostWindow::~HostWindow()
{
    format.reset();
    SDL_DestroyWindow(window);
}

void HostWindow::fitClientToFrame(const WindowFrame::Extents& extents)
{
    const int width = std::max(1, request.outerWidth - extents.left - extents.right);
    const int height = std::max(1, request.outerHeight - extents.top - extents.bottom);
    int currentWidth = 0;
    int currentHeight = 0;
    clientSize(currentWidth, currentHeight);
    if (width != currentWidth || height != currentHeight) {
        SDL_SetWindowSize(window, width, height);
    }
}

void HostWindow::show()
{
    SDL_ShowWindow(window);
    visible = true;
    invalid = true;
    if (!everShown) {
        everShown = true;
        // The frame the window manager drew once the window is mapped may
        // differ from the one it announced.
        fitClientToFrame(frame.currentExtents());
    }
}

void HostWindow::hide()
{
    SDL_HideWindow(window);
    visible = false;
}

bool HostWindow::takeSizeChange(int& width, int& height)
{
    clientSize(width, height);
    if (width == reportedWidth && height == reportedHeight) {
        return false;
    }
    reportedWidth = width;
    reportedHeight = height;
    return true;
}
