#include "platform/sdl/PixelFormat.h"

#include "platform/sdl/DisplayLoss.h"

#include <cstdio>

namespace {
constexpr int firstProfiledVersion = 3 * 100 + 2; // contexts before 3.2 have no profile

// SDL_GL_CreateContext makes the new context current; wglCreateContext
// does not, so whatever was current is put back. readWhileCurrent runs in
// between, with the new context current.
template <typename ReadWhileCurrent>
SDL_GLContext createContextKeepingCurrent(SDL_Window* window, ReadWhileCurrent readWhileCurrent)
{
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        // GLX fails first when the display has gone
        DisplayLoss::endIfLost();
        std::fprintf(stderr, "No OpenGL context for the window: %s\n", SDL_GetError());
        return nullptr;
    }
    readWhileCurrent();
    SDL_GL_MakeCurrent(previousWindow, previousContext);
    return context;
}

int glVersion()
{
    const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2) {
        return 0;
    }
    return major * 100 + minor;
}

bool isCompatibilityProfile()
{
    if (glVersion() < firstProfiledVersion) {
        return true;
    }
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    return (mask & GL_CONTEXT_CORE_PROFILE_BIT) == 0;
}
}

PixelFormat::PixelFormat(SDL_Window* sdlWindow, bool openGl) : window(sdlWindow), hasOpenGl(openGl) {}

PixelFormat::~PixelFormat()
{
    if (spareContext != nullptr) {
        SDL_GL_DeleteContext(spareContext);
    }
}

bool PixelFormat::probe()
{
    if (probed) {
        return probeSucceeded;
    }
    probed = true;
    if (!hasOpenGl) {
        return false;
    }
    spareContext = createContextKeepingCurrent(window, [this] {
        // SDL reads these from the current context's framebuffer, not from
        // the attributes it asked for.
        int doubleBuffer = 0;
        SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
        SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &description.alphaBits);
        SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &description.depthBits);
        SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &description.stencilBits);
        description.doubleBuffer = doubleBuffer != 0;
        description.compatibility = isCompatibilityProfile();
    });
    probeSucceeded = spareContext != nullptr;
    return probeSucceeded;
}

bool PixelFormat::satisfies(const PIXELFORMATDESCRIPTOR* request)
{
    constexpr DWORD required = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (request == nullptr || request->nSize != sizeof(PIXELFORMATDESCRIPTOR) || request->nVersion != 1 ||
        (request->dwFlags & required) != required || (request->dwFlags & PFD_STEREO) != 0 ||
        request->iPixelType != PFD_TYPE_RGBA) {
        return false;
    }
    if (!probe()) {
        return false;
    }
    // Colour bits are a preference on Windows too: the closest format wins.
    return description.compatibility &&
           (description.doubleBuffer || (request->dwFlags & PFD_DOUBLEBUFFER) == 0) &&
           description.depthBits >= request->cDepthBits && description.stencilBits >= request->cStencilBits &&
           description.alphaBits >= request->cAlphaBits;
}

int PixelFormat::choose(const PIXELFORMATDESCRIPTOR* request)
{
    return satisfies(request) ? onlyFormat : 0;
}

bool PixelFormat::set(int format, const PIXELFORMATDESCRIPTOR* request)
{
    if (setFormat != 0) {
        return format == setFormat;
    }
    if (format != onlyFormat || !satisfies(request)) {
        return false;
    }
    setFormat = format;
    return true;
}

SDL_GLContext PixelFormat::createContext()
{
    if (!isSet()) {
        return nullptr;
    }
    if (spareContext != nullptr) {
        SDL_GLContext context = spareContext;
        spareContext = nullptr;
        return context;
    }
    return createContextKeepingCurrent(window, [] {});
}
