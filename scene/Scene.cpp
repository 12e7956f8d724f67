#include "scene/Scene.h"

#include "geometry/Texture.h"

void Scene::setup(HWND* hwndRef, Input* inputState)
{
    hwnd = hwndRef;
    input = inputState;
    GetClientRect(*hwnd, &screenRect);
    initializeOpenGL(screenRect.right, screenRect.bottom);

    camera = Camera();
    lightAngle = 0.0f;
    wireframe = false;
    groundLock = true;
    light0On = true;
    light1On = false;
}

GLuint Scene::loadTexture(const char* path)
{
    return loadTextureFile(path);
}
