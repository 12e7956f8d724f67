// The scene in the program's own window with a real OpenGL context, run
// from the project folder so it loads the real models and images.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int keyF = 0x46;
constexpr int keyG = 0x47;
constexpr int keyQ = 0x51;
constexpr int keyE = 0x45;
constexpr int keyH = 0x48;
constexpr int keyR = 0x52;
constexpr int keyW = 0x57;
constexpr float stillFrame = 0.0f; // seconds: nothing that moves with time moves

class SetUpScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        static char instance;
        registerWindowClass(reinterpret_cast<HINSTANCE>(&instance));
        ASSERT_TRUE(createMainWindow(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWDEFAULT))
            << "no window: run the tests through tools/test.sh, which provides a display";
        scene.setup(&hwnd, &input);
        ASSERT_TRUE(scene.isContextCurrent());
    }

    // The light as the frame set it, back in world space: with the camera
    // unturned at (2, 1, -5) the view only moves the world by (-2, -1, 5).
    static Vector3 orbitingLight()
    {
        GLfloat position[4];
        glGetLightfv(GL_LIGHT1, GL_POSITION, position);
        return Vector3(position[0] + 2.0f, position[1] + 1.0f, position[2] - 5.0f);
    }

    static void expectLightAt(float x, float y, float z)
    {
        const Vector3 light = orbitingLight();
        EXPECT_NEAR(light.getX(), x, 2e-6f);
        EXPECT_NEAR(light.getY(), y, 2e-6f);
        EXPECT_NEAR(light.getZ(), z, 2e-6f);
    }

    static void renderAt(float angle)
    {
        scene.setLightAngle(angle);
        scene.render(stillFrame);
    }

    static bool enabled(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

    static GLint integer(GLenum name)
    {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }
};

TEST_F(SetUpScene, LeavesItsFixedStateSwitchesAndCamera)
{
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    EXPECT_EQ(clearColour[0], 0.0f);
    EXPECT_EQ(clearColour[1], 0.0f);
    EXPECT_EQ(clearColour[2], 0.0f);
    EXPECT_NEAR(clearColour[3], 0.5f, 1.0f / 255.0f);
    GLfloat clearDepth = 0.0f;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    EXPECT_EQ(clearDepth, 1.0f);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_TRUE(enabled(GL_TEXTURE_2D));
    GLint environment = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    EXPECT_EQ(environment, GL_MODULATE);
    EXPECT_TRUE(enabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(enabled(GL_LIGHTING));
    EXPECT_TRUE(enabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);

    // the viewport is the client area, not 1280 x 720
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(viewport[2], client.right);
    EXPECT_EQ(viewport[3], client.bottom);
    EXPECT_LT(client.bottom, 720);

    EXPECT_FALSE(scene.isWireframe());
    EXPECT_TRUE(scene.isGroundLocked());
    EXPECT_TRUE(scene.isLight0On());
    EXPECT_FALSE(scene.isLight1On());
    EXPECT_EQ(scene.getLightAngle(), 0.0f);
    EXPECT_TRUE(scene.getCamera().getPosition().equals(Vector3(2.0f, 1.0f, -5.0f), 1e-6f));
}

TEST_F(SetUpScene, OrbitingLightFollowsItsAngleWithTheProgramsOwnDivisor)
{
    renderAt(0.0f);
    expectLightAt(19.0f, 1.0f, -12.0f);
    renderAt(90.0f);
    expectLightAt(12.002074f, 1.0f, -5.0000005f);
    // not (5, 1, -12): the divisor is 180 / 3.141
    renderAt(180.0f);
    expectLightAt(5.0000014f, 1.0f, -11.995852f);
    renderAt(-1.0f);
    expectLightAt(18.998934f, 1.0f, -12.122144f);
    EXPECT_EQ(scene.getLightAngle(), -1.0f); // negative angles are not wrapped
}

TEST_F(SetUpScene, AFullTurnStartsTheOrbitAgainAtExactlyZero)
{
    renderAt(359.5f);
    EXPECT_EQ(scene.getLightAngle(), 359.5f);
    renderAt(360.0f);
    EXPECT_EQ(scene.getLightAngle(), 0.0f);
    expectLightAt(19.0f, 1.0f, -12.0f);

    // Q held for a frame at 359 reaches 360 and wraps in that same frame
    scene.setLightAngle(359.0f);
    input.keyDown(keyQ);
    scene.render(stillFrame);
    input.keyUp(keyQ);
    EXPECT_EQ(scene.getLightAngle(), 0.0f);
}

TEST_F(SetUpScene, SwitchKeysFlipOncePerKeyDownAndHeldKeysTurnTheLight)
{
    input.keyDown(keyF);
    input.keyDown(keyG);
    input.keyDown(keyH);
    input.keyDown(keyR);
    scene.render(stillFrame);
    EXPECT_TRUE(scene.isWireframe());
    EXPECT_FALSE(scene.isLight0On());
    EXPECT_TRUE(scene.isLight1On());
    EXPECT_FALSE(scene.isGroundLocked());
    EXPECT_FALSE(enabled(GL_LIGHT0));
    EXPECT_TRUE(enabled(GL_LIGHT1));
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    // the presses were consumed: another frame flips nothing
    scene.render(stillFrame);
    EXPECT_TRUE(scene.isWireframe());
    EXPECT_FALSE(scene.isGroundLocked());
    // lighting stays on with both lights off
    input.keyDown(keyH);
    scene.render(stillFrame);
    EXPECT_FALSE(enabled(GL_LIGHT1));
    EXPECT_TRUE(enabled(GL_LIGHTING));

    input.keyDown(keyQ);
    input.keyDown(keyE);
    scene.setLightAngle(10.0f);
    scene.render(stillFrame);
    EXPECT_EQ(scene.getLightAngle(), 10.0f);
    input.keyUp(keyQ);
    scene.render(stillFrame);
    scene.render(stillFrame);
    EXPECT_EQ(scene.getLightAngle(), 8.0f);
    input.keyUp(keyE);
}

TEST_F(SetUpScene, GroundLockPinsTheEyeAfterTheViewAndFlyingIsFaster)
{
    // W for a tenth of a second walks one unit, wherever the eye looks
    input.keyDown(keyW);
    scene.render(0.1f); // the first frame still walks along +z
    scene.render(0.1f);
    EXPECT_NEAR(scene.getCamera().getPosition().getZ(), -5.0f, 1e-5f);
    EXPECT_EQ(scene.getCamera().getPosition().getY(), 1.0f);
    input.keyUp(keyW);

    // released, W flies three times as fast
    input.keyDown(keyR);
    scene.render(stillFrame);
    input.keyDown(keyW);
    scene.render(0.1f);
    EXPECT_NEAR(scene.getCamera().getPosition().getZ(), -8.0f, 1e-5f);
    input.keyUp(keyW);
}

} // namespace
