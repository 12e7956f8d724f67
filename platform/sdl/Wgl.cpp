// GDI's pixel-format calls and WGL, on the window's SDL OpenGL context.
#include "platform/Platform.h"
#include "platform/sdl/RenderingContexts.h"
#include "platform/sdl/VideoSystem.h"
#include "platform/sdl/WindowRegistry.h"

int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* pfd)
{
    HostWindow* window = WindowRegistry::instance().findByDeviceContext(hdc);
    return window != nullptr ? window->pixelFormat().choose(pfd) : 0;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* pfd)
{
    HostWindow* window = WindowRegistry::instance().findByDeviceContext(hdc);
    return window != nullptr && window->pixelFormat().set(format, pfd);
}

BOOL WINAPI SwapBuffers(HDC hdc)
{
    HostWindow* window = WindowRegistry::instance().findByDeviceContext(hdc);
    // SDL swaps only the window whose context is current.
    if (window == nullptr || !window->pixelFormat().isSet() ||
        SDL_GL_GetCurrentWindow() != window->sdlWindow()) {
        return FALSE;
    }
    SDL_GL_SwapWindow(window->sdlWindow());
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC hdc)
{
    HostWindow* window = WindowRegistry::instance().findByDeviceContext(hdc);
    if (window == nullptr) {
        return nullptr;
    }
    SDL_GLContext context = window->pixelFormat().createContext();
    return context != nullptr ? RenderingContexts::instance().add(window->handle(), context) : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC hglrc)
{
    if (hglrc == nullptr) {
        // Releases the current context, whatever the DC.
        return !VideoSystem::instance().isStarted() || SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    }
    HostWindow* window = WindowRegistry::instance().findByDeviceContext(hdc);
    SDL_GLContext context = RenderingContexts::instance().find(hglrc);
    if (window == nullptr || context == nullptr || !window->pixelFormat().isSet()) {
        return FALSE;
    }
    return SDL_GL_MakeCurrent(window->sdlWindow(), context) == 0;
}
