// The program's long-lived objects, its one window and its message loop.
#pragma once

#include "app/Input.h"
#include "app/Timer.h"
#include "platform/Platform.h"
#include "scene/Scene.h"

// Defined together, in this order, in static storage.
extern HWND hwnd;
extern Input input;
extern Scene scene;
extern Timer timer;

// registers "FirstWindowClass" with WndProc
ATOM registerWindowClass(HINSTANCE instance);
// creates, shows and updates the "Brindlemoor" window; false when it
// cannot be created
bool createMainWindow(HINSTANCE instance, int showMode);
// records keys, mouse and size changes, then the default processing
LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// one message per turn; an idle turn times and draws a frame. Returns on
// WM_QUIT or when Escape is down at an idle turn, leaving the last message
// taken in msg.
void runMessageLoop(MSG& msg);
