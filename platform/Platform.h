// The one header through which the program sees Win32, WGL, OpenGL and GLU.
//
// On Windows this is the real SDK. Everywhere else it is our own small layer
// on SDL2 (platform/sdl/), which implements exactly the Win32 subset the
// program calls, with the same message semantics. No other folder of the
// program knows which host it is built for.
#pragma once

#if defined(_WIN32)
    #ifndef WIN32_LEAN_AND_MEAN
        #define WIN32_LEAN_AND_MEAN
    #endif
    #ifndef NOMINMAX
        #define NOMINMAX
    #endif
    #include <windows.h>
#else
    #include "platform/sdl/Win32Subset.h"
#endif

#include <GL/gl.h>
#include <GL/glu.h>
