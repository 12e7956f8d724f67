#include "app/MainWindow.h"

namespace {
constexpr const char* windowClassName = "FirstWindowClass";
constexpr const char* windowTitle = "Brindlemoor";
constexpr int windowWidth = 1280; // outer pixels, frame and caption included
constexpr int windowHeight = 720;
// caption, system menu and sizing border; no minimise or maximise box
constexpr DWORD windowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
}

HWND hwnd = nullptr;
Input input;
Scene scene;
Timer timer;

ATOM registerWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA wcex = {};
    wcex.cbSize = sizeof(WNDCLASSEXA);
    wcex.style = CS_HREDRAW | CS_VREDRAW;
    wcex.lpfnWndProc = WndProc;
    wcex.cbClsExtra = 0;
    wcex.cbWndExtra = 0;
    wcex.hInstance = instance;
    wcex.hIcon = nullptr;
    wcex.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wcex.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wcex.lpszMenuName = nullptr;
    wcex.lpszClassName = windowClassName;
    wcex.hIconSm = nullptr;
    return RegisterClassExA(&wcex);
}

bool createMainWindow(HINSTANCE instance, int showMode)
{
    hwnd = CreateWindowExA(0, windowClassName, windowTitle, windowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           windowWidth, windowHeight, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    ShowWindow(hwnd, showMode);
    UpdateWindow(hwnd);
    return true;
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_SIZE:
        // The size in lParam is not used: the scene reads the client rectangle.
        scene.resize();
        break;
    case WM_KEYDOWN:
        input.keyDown(static_cast<int>(wParam));
        break;
    case WM_KEYUP:
        input.keyUp(static_cast<int>(wParam));
        break;
    case WM_MOUSEMOVE:
        input.setMouseX(LOWORD(lParam));
        input.setMouseY(HIWORD(lParam));
        break;
    case WM_LBUTTONDOWN:
        input.setLeftMouseButton(true);
        break;
    case WM_LBUTTONUP:
        input.setLeftMouseButton(false);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void runMessageLoop(MSG& msg)
{
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        timer.frame();
        if (input.isKeyDown(VK_ESCAPE)) {
            return;
        }
        scene.render(timer.getTime());
    }
}
