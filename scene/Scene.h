// The scene: owns the rendering context, the camera, the two models, the
// seven display lists, the orbiting light's angle and the four switches.
// Set up once, then drawn once per idle turn of the message loop.
#pragma once

#include "camera/Camera.h"
#include "geometry/Model.h"
#include "platform/Platform.h"
#include "scene/Shapes.h"

class Input;

class Scene {
public:
    Scene() = default;

    // stores the window and input addresses, creates the context, sets the
    // fixed OpenGL state and builds models and display lists
    void setup(HWND* hwndRef, Input* input);
    // decodes an image into a new texture; 0 (and a printed line) on failure
    GLuint loadTexture(const char* path);
    // draws one frame of the yard and presents it
    void render(float frameTime);
    // camera input, then the F, G, Q, E, H and R keys
    void handleControls();

    // gives the window a double-buffered OpenGL pixel format
    bool setupPixelFormat(HDC hdc);
    // device context, pixel format, current rendering context, projection
    void initializeOpenGL(int width, int height);
    // re-reads the client size after WM_SIZE; nothing before setup
    void resize();
    // viewport and 45-degree projection for a client area
    void resizeViewport(int width, int height);

    // Views for tests, tools and benchmarks; tests also set the light angle.
    const Camera& getCamera() const { return camera; }
    const RECT& getScreenRect() const { return screenRect; }
    bool isContextCurrent() const { return contextCurrent; }
    bool isWireframe() const { return wireframe; }
    bool isGroundLocked() const { return groundLock; }
    bool isLight0On() const { return light0On; }
    bool isLight1On() const { return light1On; }
    float getLightAngle() const { return lightAngle; }
    void setLightAngle(float degrees) { lightAngle = degrees; }

private:
    void setFixedState();

    // The frame's steps, in the order render takes them.
    // model view from the camera
    void setView();
    // where the orbiting light stands this frame
    Vector3 orbitPosition();
    void setLights(const Vector3& orbit);
    // the ground lock's height and the speed it allows
    void pinEye();
    void drawSky();
    void drawGround();
    void drawWalls();
    void drawOrbitMarkers(const Vector3& orbit);
    void drawCars();
    void drawContainers();

    HWND* hwnd = nullptr;
    Input* input = nullptr;
    RECT screenRect = {};
    HDC hdc = nullptr;
    HGLRC hrc = nullptr;
    // false when the pixel format or the context could not be had: set-up
    // then skips every step that needs OpenGL
    bool contextCurrent = false;
    float frameTime = 0.0f;
    bool wireframe = false;
    bool groundLock = false;
    bool light0On = false;
    bool light1On = false;
    Camera camera;
    Shapes shapes;
    Model carModel;
    Model sphereModel;
    float lightAngle = 0.0f;
    GLuint skyboxList = 0;
    GLuint groundList = 0;
    GLuint wallList = 0;
    GLuint container2BothEndsList = 0;
    GLuint container2OneEndList = 0;
    GLuint containerBothEndsList = 0;
    GLuint containerNoEndsList = 0;
};
