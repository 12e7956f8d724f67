#include "scene/Scene.h"

#include "scene/Yard.h"

#include <cmath>

namespace {
constexpr float fullTurn = 360.0f;                           // degrees; the orbit restarts at 0
constexpr double orbitDegreesPerRadian = 57.306590257879655; // 180 / 3.141
constexpr double orbitRadius = 7.0;                          // world units
constexpr float orbitHeight = 1.0f;
constexpr float eyeHeight = 1.0f; // while the ground lock is on
constexpr float flySpeed = 30.0f; // units per second, ground lock off
constexpr float markerScale = 0.5f;
constexpr float carScale = 0.3f;
constexpr float containerLift = 0.01f; // keeps box floors off the grass
}

void Scene::render(float seconds)
{
    frameTime = seconds;
    handleControls();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setView();
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    const Vector3 orbit = orbitPosition();
    setLights(orbit);
    pinEye();

    drawSky();
    drawGround();
    drawWalls();
    if (light1On) {
        drawOrbitMarkers(orbit);
    }
    drawCars();
    drawContainers();

    SwapBuffers(hdc);
}

void Scene::setView()
{
    glLoadIdentity();
    camera.update();
    const Vector3 eye = camera.getPosition();
    const Vector3 centre = camera.getLookAt();
    const Vector3 upDirection = camera.getUp();
    gluLookAt(eye.getX(), eye.getY(), eye.getZ(), centre.getX(), centre.getY(), centre.getZ(),
              upDirection.getX(), upDirection.getY(), upDirection.getZ());
}

// The orbiting light's place on its circle round the middle of the yard;
// a full turn starts the angle again at 0.
Vector3 Scene::orbitPosition()
{
    if (lightAngle >= fullTurn) {
        lightAngle = 0.0f;
    }
    const double orbitRadians = static_cast<double>(lightAngle) / orbitDegreesPerRadian;
    return Vector3(static_cast<float>(std::cos(orbitRadians) * orbitRadius + yard::middleX), orbitHeight,
                   static_cast<float>(std::sin(orbitRadians) * orbitRadius + yard::middleZ));
}

// Given after the view is set, so the positions are in world space.
void Scene::setLights(const Vector3& orbit)
{
    GLfloat Light_Ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    GLfloat Light_Diffuse[] = {0.7f, 0.7f, 0.7f, 1.0f};
    GLfloat Light_Specular[] = {0.7f, 0.7f, 0.7f, 1.0f};
    GLfloat Light_Position[] = {1.0f, 1.0f, 1.0f, 0.0f}; // directional, from (1, 1, 1)
    GLfloat Moving_Light_Diffuse[] = {0.7f, 0.0f, 0.7f, 1.0f};
    GLfloat Moving_Light_Specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    GLfloat Moving_Light_Position[] = {orbit.getX(), orbit.getY(), orbit.getZ(), 1.0f};

    glLightfv(GL_LIGHT0, GL_AMBIENT, Light_Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, Light_Diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, Light_Position);
    glLightfv(GL_LIGHT0, GL_SPECULAR, Light_Specular);
    if (light0On) {
        glEnable(GL_LIGHT0);
    } else {
        glDisable(GL_LIGHT0);
    }

    glLightfv(GL_LIGHT1, GL_DIFFUSE, Moving_Light_Diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, Moving_Light_Specular);
    glLightfv(GL_LIGHT1, GL_POSITION, Moving_Light_Position);
    if (light1On) {
        glEnable(GL_LIGHT1);
    } else {
        glDisable(GL_LIGHT1);
    }
}

// The view above already used this frame's eye; the pin shows from the next
// frame. Walking and flying move at different speeds.
void Scene::pinEye()
{
    if (groundLock) {
        camera.setHeight(eyeHeight);
    }
    camera.setSpeed(groundLock ? Camera::walkSpeed : flySpeed);
}

// Pushes and pops are indented as the matrix stack nests.
// clang-format off

// Around the eye, drawn first and without depth.
void Scene::drawSky()
{
    glPushMatrix();
        const Vector3 skyCentre = camera.getPosition();
        glTranslatef(skyCentre.getX(), skyCentre.getY(), skyCentre.getZ());
        glCallList(skyboxList);
    glPopMatrix();
}

// The plane turned to lie on y = 0, over x 0..24, z 0..-24.
void Scene::drawGround()
{
    glPushMatrix();
        glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
        glCallList(groundList);
    glPopMatrix();
}

// Far, left, near and right, each turned a quarter from the last.
void Scene::drawWalls()
{
    glPushMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, -yard::size);
            glCallList(wallList);
        glPopMatrix();
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glCallList(wallList);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(-yard::size, 0.0f, 0.0f);
        glCallList(wallList);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(-yard::size, 0.0f, 0.0f);
        glCallList(wallList);
    glPopMatrix();
}

// One on the orbiting light, a smaller one circling it.
void Scene::drawOrbitMarkers(const Vector3& orbit)
{
    glPushMatrix();
        glScalef(markerScale, markerScale, markerScale);
        glTranslatef(orbit.getX() * 2.0f, orbit.getY() * 2.0f, orbit.getZ() * 2.0f);
        sphereModel.render();
        glPushMatrix();
            glScalef(markerScale, markerScale, markerScale);
            glRotatef(lightAngle, 0.0f, 1.0f, 0.0f);
            glTranslatef(5.0f, 0.0f, 0.0f);
            sphereModel.render();
        glPopMatrix();
    glPopMatrix();
}

// Two scrap cars near the right wall.
void Scene::drawCars()
{
    glPushMatrix();
        glScalef(carScale, carScale, carScale);
        glTranslatef(70.0f, 0.0f, -10.0f);
        glRotatef(-45.0f, 0.0f, 1.0f, 0.0f);
        carModel.render();
        glTranslatef(-35.0f, 0.0f, -40.0f);
        glRotatef(120.0f, 0.0f, 1.0f, 0.0f);
        carModel.render();
    glPopMatrix();
}

// A block of two rows of stacks around the middle of the yard, then the
// single containers.
void Scene::drawContainers()
{
    glPushMatrix();
        glTranslatef(8.0f, containerLift, -11.0f);
        glCallList(container2BothEndsList);  // A1
        glTranslatef(1.75f, 0.0f, 0.0f);
        glCallList(container2BothEndsList);  // A2
        glTranslatef(3.0f, 0.0f, 0.0f);
        glCallList(container2BothEndsList);  // A3
        glTranslatef(0.0f, 1.75f, 0.0f);
        glCallList(container2BothEndsList);  // A4, on A3
        glTranslatef(1.75f, 0.0f, 0.0f);
        glCallList(container2BothEndsList);  // A5
        glTranslatef(0.0f, -1.75f, 0.0f);
        glCallList(container2BothEndsList);  // A6, under A5
        glTranslatef(0.0f, 0.0f, -7.0f);
        glCallList(container2BothEndsList);  // A7
        glTranslatef(-1.75f, 0.0f, 0.0f);
        glCallList(container2BothEndsList);  // A8
        glTranslatef(-3.0f, 0.0f, 0.0f);
        glTranslatef(0.0f, 1.75f, 0.0f);
        glCallList(container2BothEndsList);  // A9, on B1
        glTranslatef(-1.75f, 0.0f, 0.0f);
        glCallList(container2BothEndsList);  // A10
        glTranslatef(0.0f, -1.75f, 0.0f);
        glCallList(container2BothEndsList);  // A11, under A10
    glPopMatrix();

    glPushMatrix();
        glTranslatef(11.5f, containerLift, -13.0f);
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        glCallList(container2OneEndList);    // B1, open towards +z
    glPopMatrix();
    glPushMatrix();
        glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(-1.75f, containerLift, -14.5f);
        glCallList(container2BothEndsList);  // B2, along the near wall
        glTranslatef(-1.75f, 0.0f, 0.0f);
        glCallList(container2OneEndList);    // B3, open towards +x
    glPopMatrix();
    glPushMatrix();
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(20.5f, containerLift, 9.5f);
        glCallList(container2BothEndsList);  // B4
        glTranslatef(1.75f, 0.0f, 0.0f);
        glCallList(container2OneEndList);    // B5, along the far wall, open towards -x
    glPopMatrix();
    glPushMatrix();
        glTranslatef(1.75f, containerLift, -14.5f);
        glRotatef(-20.0f, 0.0f, 1.0f, 0.0f);
        glCallList(containerNoEndsList);     // C1, turned 20 degrees
        glRotatef(20.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(1.75f, 0.0f, 0.0f);
        glCallList(containerBothEndsList);   // C2
        glTranslatef(15.25f, 0.0f, 0.0f);
        glCallList(containerBothEndsList);   // C3
        glTranslatef(1.75f, 0.0f, 0.0f);
        glRotatef(20.0f, 0.0f, 1.0f, 0.0f);
        glCallList(containerNoEndsList);     // C4, turned 20 degrees
    glPopMatrix();
}
// clang-format on
