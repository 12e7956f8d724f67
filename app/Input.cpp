#include "app/Input.h"

void Input::keyDown(int key)
{
    if (isValidKey(key)) {
        keys[key] = true;
    }
}

void Input::keyUp(int key)
{
    if (isValidKey(key)) {
        keys[key] = false;
    }
}

bool Input::isKeyDown(int key) const
{
    return isValidKey(key) && keys[key];
}

void Input::setMouseX(int x)
{
    mouseDeltaX = mouseX - x;
    mouseX = x;
}

void Input::setMouseY(int y)
{
    mouseDeltaY = mouseY - y;
    mouseY = y;
}

int Input::getMouseDeltaX()
{
    const int delta = mouseDeltaX;
    mouseDeltaX = 0;
    return delta;
}

int Input::getMouseDeltaY()
{
    const int delta = mouseDeltaY;
    mouseDeltaY = 0;
    return delta;
}
