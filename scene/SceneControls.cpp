#include "scene/Scene.h"

void Scene::handleControls()
{
    camera.handleInput(*input, screenRect, frameTime);
}
