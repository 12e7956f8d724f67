#include "scene/Scene.h"

namespace {
constexpr int gridLines = 25;       // lines each way across the yard
constexpr float gridSpacing = 1.0f; // world units
constexpr float yardSize = 24.0f;   // world units
}

void Scene::render(float seconds)
{
    frameTime = seconds;
    handleControls();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.update();
    const Vector3 eye = camera.getPosition();
    const Vector3 centre = camera.getLookAt();
    const Vector3 upDirection = camera.getUp();
    gluLookAt(eye.getX(), eye.getY(), eye.getZ(),
              centre.getX(), centre.getY(), centre.getZ(),
              upDirection.getX(), upDirection.getY(), upDirection.getZ());

    // Until the yard exists, a ground with a grid shows where the eye is.
    glColor3f(0.16f, 0.3f, 0.14f);
    glBegin(GL_QUADS);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(yardSize, 0.0f, 0.0f);
        glVertex3f(yardSize, 0.0f, -yardSize);
        glVertex3f(0.0f, 0.0f, -yardSize);
    glEnd();
    glColor3f(0.55f, 0.75f, 0.5f);
    glBegin(GL_LINES);
        for (int i = 0; i < gridLines; ++i) {
            const float offset = static_cast<float>(i) * gridSpacing;
            glVertex3f(offset, 0.0f, 0.0f);
            glVertex3f(offset, 0.0f, -yardSize);
            glVertex3f(0.0f, 0.0f, -offset);
            glVertex3f(yardSize, 0.0f, -offset);
        }
    glEnd();

    SwapBuffers(hdc);
}
