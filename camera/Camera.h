// The user's first-person eye: turns while the left button is dragged, moves
// with W, A, S and D at `speed` units per second of frame time, and ends the
// program on Backspace. Angles are degrees; with all of them zero the eye
// looks along -z with +x to its right.
#pragma once

#include "camera/Vector3.h"
#include "platform/Platform.h"

class Input;

class Camera {
public:
    // units per second at a walk: the speed the camera starts with and the
    // scene keeps while the ground lock holds
    static constexpr float walkSpeed = 10.0f;

    Camera();

    // mouse look, Backspace exit and movement for one frame
    void handleInput(Input& input, const RECT& screenRect, float frameTime);
    void moveForward(float distance);
    void strafe(float distance);
    void addYaw(float degrees);
    void addPitch(float degrees);
    // derives forward, lookAt, up and right from rotation and position
    void update();

    Vector3 getPosition() const { return position; }
    Vector3 getLookAt() const { return lookAt; }
    Vector3 getUp() const { return up; }
    Vector3 getForward() const { return forward; }
    Vector3 getRight() const { return right; }
    Vector3 getRotation() const { return rotation; }
    float getSpeed() const { return speed; }
    void setHeight(float y);
    // units per second for W, A, S and D
    void setSpeed(float unitsPerSecond);

private:
    Vector3 position;
    Vector3 forward;
    Vector3 lookAt;
    Vector3 up;
    Vector3 right;
    Vector3 rotation; // x yaw, y pitch, z roll
    float speed;
};
