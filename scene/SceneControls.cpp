#include "scene/Scene.h"

#include "app/Input.h"

namespace {
constexpr int keyWireframe = 'F';
constexpr int keyFixedLight = 'G';
constexpr int keyTurnLeft = 'Q';
constexpr int keyTurnRight = 'E';
constexpr int keyMovingLight = 'H';
constexpr int keyGroundLock = 'R';
constexpr float lightStep = 1.0f; // degrees per frame, not scaled by time

// Flips a switch once per key-down message: clearing the key consumes the
// press until the next WM_KEYDOWN (first press or auto-repeat) sets it again.
void toggleOnPress(Input& input, int key, bool& setting)
{
    if (input.isKeyDown(key)) {
        setting = !setting;
        input.keyUp(key);
    }
}
}

void Scene::handleControls()
{
    camera.handleInput(*input, screenRect, frameTime);

    toggleOnPress(*input, keyWireframe, wireframe);
    toggleOnPress(*input, keyFixedLight, light0On);
    if (input->isKeyDown(keyTurnLeft)) {
        lightAngle += lightStep;
    }
    if (input->isKeyDown(keyTurnRight)) {
        lightAngle -= lightStep;
    }
    toggleOnPress(*input, keyMovingLight, light1On);
    toggleOnPress(*input, keyGroundLock, groundLock);
}
