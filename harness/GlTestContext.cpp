#include "harness/GlTestContext.h"

GlTestContext::GlTestContext(int width, int height)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        failureText = "no X display for the OpenGL context (run the tests through tools/test.sh)";
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window = SDL_CreateWindow("gl test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        failureText = "cannot create a hidden OpenGL window";
        return;
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        failureText = "cannot create an OpenGL context";
    }
}

GlTestContext::~GlTestContext()
{
    if (context != nullptr) {
        SDL_GL_DeleteContext(context);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
