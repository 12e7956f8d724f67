#include "scene/Scene.h"

#include "geometry/Texture.h"
#include "scene/Yard.h"

namespace {
constexpr const char* carModelFile = "mdl/car_scrap.obj";
constexpr const char* carTextureFile = "img/rust.png";
constexpr const char* sphereModelFile = "mdl/smallSphere.obj";
constexpr const char* sphereTextureFile = "img/sphereTex.jpg";
constexpr const char* grassFile = "img/Grass.jpg";
constexpr const char* wallFile = "img/wall.png";
constexpr const char* skyboxFile = "img/skybox.png";
constexpr const char* container2File = "img/container2.png";
constexpr const char* containerFile = "img/container.png";

constexpr int groundTiles = 24;     // per side: one image per square unit
constexpr float wallHeight = 2.0f;  // world units
constexpr int wallTiles = 10;       // along each wall
constexpr float wallRepeats = 2.0f; // images across each wall tile

constexpr int bothEnds = 2;
constexpr int farEndOnly = 1;
constexpr int openEnds = 0;
}

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

    // Without a context the quit message is already posted, and the image
    // library and list building would call into OpenGL with nothing current.
    if (!contextCurrent) {
        return;
    }
    setFixedState();

    carModel.load(carModelFile, carTextureFile);
    sphereModel.load(sphereModelFile, sphereTextureFile);

    // Each list gets a texture of its own, loaded right before it is built.
    groundList = shapes.createPlane(loadTexture(grassFile), yard::size, yard::size, groundTiles, groundTiles,
                                    1.0f, 1.0f);
    wallList =
        shapes.createPlane(loadTexture(wallFile), yard::size, wallHeight, wallTiles, 1, wallRepeats, 1.0f);
    skyboxList = shapes.createSkybox(loadTexture(skyboxFile));
    container2BothEndsList = shapes.createBox(loadTexture(container2File), bothEnds);
    container2OneEndList = shapes.createBox(loadTexture(container2File), farEndOnly);
    containerBothEndsList = shapes.createBox(loadTexture(containerFile), bothEnds);
    containerNoEndsList = shapes.createBox(loadTexture(containerFile), openEnds);
}

// The state no frame changes. Colour material tracks the default white
// colour, so the textures show their own colours under the lights.
void Scene::setFixedState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

GLuint Scene::loadTexture(const char* path)
{
    return loadTextureFile(path);
}
