// One top-level window behind an HWND: the SDL window, its frame on the X11
// desktop, its class's procedure, its device context and pixel format, and
// the state Windows keeps for a window (visible, needs painting, the size
// last reported with WM_SIZE).
#pragma once

#include "platform/Platform.h"
#include "platform/sdl/PixelFormat.h"
#include "platform/sdl/WindowFrame.h"

#include <SDL.h>

#include <memory>
#include <string>

class HostWindow {
public:
    struct Request {
        HWND handle = nullptr;
        HDC deviceContext = nullptr;
        WNDPROC procedure = nullptr;
        std::string title;
        DWORD style = 0;
        int x = CW_USEDEFAULT;
        int y = CW_USEDEFAULT;
        int outerWidth = 0; // frame included, as CreateWindowExA takes it
        int outerHeight = 0;
    };

    // creates the hidden SDL window with its client sized so that client
    // and frame make the outer size; null when SDL cannot make a window
    static std::unique_ptr<HostWindow> create(const Request& request);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return request.handle; }
    HDC deviceContext() const { return request.deviceContext; }
    WNDPROC procedure() const { return request.procedure; }
    SDL_Window* sdlWindow() const { return window; }
    Uint32 sdlId() const { return SDL_GetWindowID(window); }
    unsigned long xWindow() const { return frame.xWindow(); }
    PixelFormat& pixelFormat() { return *format; }

    bool isVisible() const { return visible; }
    bool wasEverShown() const { return everShown; }
    // maps the window and waits for it; at the first showing the client is
    // fitted to the frame the window manager really drew
    void show();
    void hide();

    void clientSize(int& width, int& height) const { SDL_GetWindowSize(window, &width, &height); }
    // true when the client size differs from the one last reported, which it
    // then becomes
    bool takeSizeChange(int& width, int& height);

    bool needsPaint() const { return visible && invalid; }
    void invalidate() { invalid = true; }
    void validate() { invalid = false; }

    bool isDestroying() const { return destroying; }
    void markDestroying() { destroying = true; }

private:
    HostWindow(const Request& request, SDL_Window* window, bool hasOpenGl);
    void fitClientToFrame(const WindowFrame::Extents& extents);

    Request request;
    SDL_Window* window = nullptr;
    WindowFrame frame;
    std::unique_ptr<PixelFormat> format;
    bool visible = false;
    bool everShown = false;
    bool invalid = true;
    bool destroying = false;
    int reportedWidth = -1;
    int reportedHeight = -1;
};
