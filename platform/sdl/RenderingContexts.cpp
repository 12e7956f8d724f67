#include "platform/sdl/RenderingContexts.h"

#include <algorithm>

RenderingContexts& RenderingContexts::instance()
{
    static RenderingContexts contexts;
    return contexts;
}

HGLRC RenderingContexts::add(HWND window, SDL_GLContext context)
{
    Entry entry;
    entry.handle = reinterpret_cast<HGLRC>(nextHandle++);
    entry.window = window;
    entry.context = context;
    entries.push_back(entry);
    return entry.handle;
}

SDL_GLContext RenderingContexts::find(HGLRC handle) const
{
    for (const Entry& entry : entries) {
        if (entry.handle == handle) {
            return entry.context;
        }
    }
    return nullptr;
}

void RenderingContexts::forgetWindow(HWND window)
{
    for (const Entry& entry : entries) {
        if (entry.window == window) {
            SDL_GL_DeleteContext(entry.context);
        }
    }
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [window](const Entry& entry) { return entry.window == window; }),
                  entries.end());
}
