// The process entry: window, scene set-up, then the message loop.
#include "app/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR /*commandLine*/, int showMode)
{
    registerWindowClass(instance);
    if (!createMainWindow(instance, showMode)) {
        return 0;
    }
    scene.setup(&hwnd, &input);
    // Started after set-up, so loading never counts as frame time.
    timer.initialize();

    MSG msg = {};
    runMessageLoop(msg);
    // After WM_QUIT the posted code; after Escape the last message's wParam.
    return static_cast<int>(msg.wParam);
}
