// MessageBoxA: a real modal box where a display can show one, and always a
// copy on standard error, so that a host without a desktop still reports.
#include "platform/Platform.h"
#include "platform/sdl/DisplayLoss.h"
#include "platform/sdl/WindowRegistry.h"

#include <SDL.h>

#include <cstdio>

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    // Windows captions a box without a caption "Error".
    const char* title = caption != nullptr ? caption : "Error";
    const char* message = text != nullptr ? text : "";
    // A failure the lost display caused (no pixel format, no context) is
    // reported as that loss, not as itself.
    DisplayLoss::endIfLost();
    std::fprintf(stderr, "%s: %s\n", title, message);
    std::fflush(stderr);

    const HostWindow* parent = WindowRegistry::instance().find(owner);
    const Uint32 flags = (type & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Blocks until OK, Return or Escape; returns at once with an error when
    // no display can be opened.
    SDL_ShowSimpleMessageBox(flags, title, message, parent != nullptr ? parent->sdlWindow() : nullptr);
    return IDOK;
}
