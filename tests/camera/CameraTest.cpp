#include "camera/Camera.h"

#include "app/Input.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int keyBackspace = 0x08;
constexpr int keyW = 0x57;
constexpr int keyS = 0x53;
constexpr int keyA = 0x41;
constexpr int keyD = 0x44;
constexpr float tolerance = 1e-5f;

const RECT clientRect = {0, 0, 1264, 681};

void expectNear(const Vector3& v, float x, float y, float z, float epsilon = tolerance)
{
    EXPECT_NEAR(v.getX(), x, epsilon);
    EXPECT_NEAR(v.getY(), y, epsilon);
    EXPECT_NEAR(v.getZ(), z, epsilon);
}

// A mouse move as the window procedure records it.
void moveMouse(Input& input, int x, int y)
{
    input.setMouseX(x);
    input.setMouseY(y);
}

TEST(Camera, StartsAtItsDefaultsFacingPlusZUntilTheFirstUpdate)
{
    Camera camera;
    expectNear(camera.getPosition(), 2.0f, 1.0f, -5.0f);
    expectNear(camera.getForward(), 0.0f, 0.0f, 1.0f);
    expectNear(camera.getLookAt(), 0.0f, 0.0f, 7.0f);
    expectNear(camera.getUp(), 0.0f, 1.0f, 0.0f);
    expectNear(camera.getRight(), 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(camera.getSpeed(), 10.0f);

    camera.update();
    expectNear(camera.getForward(), 0.0f, 0.0f, -1.0f);
    expectNear(camera.getUp(), 0.0f, 1.0f, 0.0f);
    expectNear(camera.getRight(), 1.0f, 0.0f, 0.0f);
    expectNear(camera.getLookAt(), 2.0f, 1.0f, -6.0f);
}

TEST(Camera, FirstFrameWMovesAlongTheConstructedForwardThenAlongMinusZ)
{
    Camera camera;
    Input input;
    input.keyDown(keyW);
    camera.handleInput(input, clientRect, 0.1f);
    expectNear(camera.getPosition(), 2.0f, 1.0f, -4.0f);

    camera.update();
    camera.handleInput(input, clientRect, 0.1f);
    expectNear(camera.getPosition(), 2.0f, 1.0f, -5.0f);
}

TEST(Camera, OnePixelRightAtFiftyHertzTurnsExactlyOneDegree)
{
    Camera camera;
    Input input;
    input.setLeftMouseButton(true);
    moveMouse(input, 1, 0); // step -1: one pixel to the right
    camera.handleInput(input, clientRect, 0.02f);
    EXPECT_EQ(camera.getRotation().getX(), 1.0f);
    EXPECT_EQ(camera.getRotation().getY(), 0.0f);

    // the step was taken: the next frame without a move turns nothing
    camera.handleInput(input, clientRect, 0.02f);
    EXPECT_EQ(camera.getRotation().getX(), 1.0f);
}

TEST(Camera, MouseUpWardsPitchesUpAndRightTurnsRight)
{
    Camera camera;
    Input input;
    moveMouse(input, 100, 100);
    input.setLeftMouseButton(true);
    camera.handleInput(input, clientRect, 0.0f); // takes the step of the first move
    moveMouse(input, 110, 90);                   // right and up
    camera.handleInput(input, clientRect, 0.01f);
    EXPECT_FLOAT_EQ(camera.getRotation().getX(), 5.0f);
    EXPECT_FLOAT_EQ(camera.getRotation().getY(), 5.0f);
    camera.update();
    EXPECT_GT(camera.getForward().getX(), 0.0f); // turned towards +x, the right
    EXPECT_GT(camera.getForward().getY(), 0.0f); // tilted up
}

TEST(Camera, StepMadeWithButtonUpIsAppliedOnceWhenDraggingStarts)
{
    Camera camera;
    Input input;
    moveMouse(input, 3, 0);
    camera.handleInput(input, clientRect, 1.0f);
    EXPECT_EQ(camera.getRotation().getX(), 0.0f);

    input.setLeftMouseButton(true);
    camera.handleInput(input, clientRect, 0.01f);
    EXPECT_FLOAT_EQ(camera.getRotation().getX(), 1.5f);
    camera.handleInput(input, clientRect, 0.01f);
    EXPECT_FLOAT_EQ(camera.getRotation().getX(), 1.5f);
}

TEST(Camera, OnlyTheLastMouseStepOfAFrameTurns)
{
    Camera camera;
    Input input;
    moveMouse(input, 10, 10);
    input.setLeftMouseButton(true);
    camera.handleInput(input, clientRect, 0.0f);
    moveMouse(input, 12, 10);
    moveMouse(input, 15, 10);
    camera.handleInput(input, clientRect, 0.01f);
    EXPECT_FLOAT_EQ(camera.getRotation().getX(), 1.5f); // 3 pixels, not 5
}

TEST(Camera, OpposingKeysCancel)
{
    Camera camera;
    camera.update();
    Input input;
    input.keyDown(keyW);
    input.keyDown(keyS);
    input.keyDown(keyA);
    input.keyDown(keyD);
    camera.handleInput(input, clientRect, 0.05f);
    expectNear(camera.getPosition(), 2.0f, 1.0f, -5.0f);
}

TEST(Camera, StrafingKeepsHeightWhileForwardFliesAlongThePitch)
{
    Camera camera;
    camera.addPitch(30.0f);
    camera.addYaw(40.0f);
    camera.update();

    Input input;
    input.keyDown(keyD);
    camera.handleInput(input, clientRect, 0.1f);
    EXPECT_NEAR(camera.getPosition().getY(), 1.0f, tolerance);
    input.keyUp(keyD);
    input.keyDown(keyA);
    camera.handleInput(input, clientRect, 0.1f);
    EXPECT_NEAR(camera.getPosition().getY(), 1.0f, tolerance);
    input.keyUp(keyA);

    input.keyDown(keyW);
    camera.handleInput(input, clientRect, 0.1f);
    EXPECT_NEAR(camera.getPosition().getY(), 1.0f + std::sin(30.0f * 3.1415f / 180.0f), 1e-4f);
}

TEST(Camera, SpeedScalesMovementPerSecond)
{
    Camera camera;
    camera.update();
    camera.setSpeed(30.0f);
    Input input;
    input.keyDown(keyS);
    camera.handleInput(input, clientRect, 0.1f);
    expectNear(camera.getPosition(), 2.0f, 1.0f, -2.0f);
}

TEST(Camera, DirectionsStayOrthonormalAndLookAtOneUnitAhead)
{
    Camera camera;
    for (float yaw = -400.0f; yaw <= 400.0f; yaw += 37.0f) {
        for (float pitch = -170.0f; pitch <= 170.0f; pitch += 23.0f) {
            camera.addYaw(yaw);
            camera.addPitch(pitch);
            camera.update();
            const Vector3 forward = camera.getForward();
            const Vector3 up = camera.getUp();
            const Vector3 right = camera.getRight();
            EXPECT_NEAR(forward.length(), 1.0f, 1e-5f);
            EXPECT_NEAR(up.length(), 1.0f, 1e-5f);
            EXPECT_NEAR(right.length(), 1.0f, 1e-5f);
            EXPECT_NEAR(forward.dot(up), 0.0f, 1e-5f);
            EXPECT_NEAR(right.getY(), 0.0f, 1e-5f); // no roll: strafing is level
            EXPECT_NEAR(camera.getLookAt().subtract(camera.getPosition()).length(), 1.0f, 1e-5f);
            camera.addYaw(-yaw);
            camera.addPitch(-pitch);
        }
    }
}

TEST(Camera, PitchPastNinetyDegreesTurnsTheViewOver)
{
    Camera camera;
    camera.addPitch(100.0f);
    camera.update();
    EXPECT_LT(camera.getUp().getY(), 0.0f);
}

TEST(Camera, SetHeightChangesOnlyTheHeight)
{
    Camera camera;
    camera.setHeight(7.5f);
    expectNear(camera.getPosition(), 2.0f, 7.5f, -5.0f);
    expectNear(camera.getLookAt(), 0.0f, 0.0f, 7.0f);
}

TEST(CameraDeathTest, BackspaceEndsTheProcessWithStatusZeroEvenWhileMoving)
{
    Camera camera;
    Input input;
    input.keyDown(keyW);
    input.keyDown(keyBackspace);
    EXPECT_EXIT(camera.handleInput(input, clientRect, 0.1f), ::testing::ExitedWithCode(0), "");
}

} // namespace
