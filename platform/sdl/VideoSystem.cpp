#include "platform/sdl/VideoSystem.h"

#include "platform/sdl/DisplayLoss.h"

#include <SDL.h>

#include <cstdio>

VideoSystem& VideoSystem::instance()
{
    static VideoSystem video;
    return video;
}

bool VideoSystem::start()
{
    if (started) {
        return true;
    }
    // The layer reads X11 events and window-manager properties itself.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    // SIGINT and SIGTERM keep ending the process, as they do a Windows program;
    // SDL would turn them into an SDL_QUIT that nothing here reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Windows gives a window no mouse capture unless it asks (SetCapture).
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // Closing the last window ends nothing by itself: WM_DESTROY posts the quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    DisplayLoss::watch();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        DisplayLoss::endIfLost();
        std::fprintf(stderr, "No window can be created: %s\n", SDL_GetError());
        return false;
    }
    // Keys come from key events only: an input method must not swallow them,
    // and TranslateMessage makes the characters.
    SDL_StopTextInput();
    // Raw X11 events tell real key events from the ones SDL makes up.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_EventState(SDL_MOUSEWHEEL, SDL_IGNORE);
    started = true;
    videoThread = std::this_thread::get_id();
    return true;
}
