// The scene's rendering-context operations: the window's pixel format, the
// one OpenGL context, and the viewport and projection kept matched to the
// client area. This file holds all of the scene's WGL and GDI code.
#include "scene/Scene.h"

namespace {
constexpr BYTE colorBits = 16;
constexpr BYTE depthBits = 16;
constexpr double fieldOfViewY = 45.0; // degrees
constexpr double nearPlane = 0.1;     // world units
constexpr double farPlane = 350.0;    // world units
}

bool Scene::setupPixelFormat(HDC hdc)
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = colorBits;
    pfd.cAccumBits = 0;
    pfd.cDepthBits = depthBits;
    pfd.cStencilBits = 0;
    pfd.dwLayerMask = 0;

    const int format = ChoosePixelFormat(hdc, &pfd);
    if (format == 0) {
        MessageBoxA(nullptr, "ChoosePixelFormat failed", "Error", MB_OK);
        return false;
    }
    if (!SetPixelFormat(hdc, format, &pfd)) {
        MessageBoxA(nullptr, "SetPixelFormat failed", "Error", MB_OK);
        return false;
    }
    return true;
}

void Scene::initializeOpenGL(int width, int height)
{
    hdc = GetDC(*hwnd);
    if (!setupPixelFormat(hdc)) {
        // The loop takes this before it draws anything; set-up goes on
        // without a context and skips the work that needs one.
        PostQuitMessage(0);
    }
    hrc = wglCreateContext(hdc);
    contextCurrent = hrc != nullptr && wglMakeCurrent(hdc, hrc);
    resizeViewport(width, height);
}

void Scene::resize()
{
    // WM_SIZE is sent while the window is created and shown, before set-up.
    if (hwnd == nullptr) {
        return;
    }
    GetClientRect(*hwnd, &screenRect);
    resizeViewport(screenRect.right, screenRect.bottom);
}

void Scene::resizeViewport(int width, int height)
{
    // A window sized down to its caption has no client height.
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    gluPerspective(fieldOfViewY, aspect, nearPlane, farPlane);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
