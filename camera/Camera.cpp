#include "camera/Camera.h"

#include "app/Input.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr int mouseTurnRate = 50;          // degrees per pixel of mouse step per second
constexpr float halfTurnRadians = 3.1415f; // the camera's pi: degrees * 3.1415 / 180
}

// Until the first update the eye faces +z; update() then derives -z from the
// zero rotation, so the very first W of a run moves along +z.
Camera::Camera()
    : position(2.0f, 1.0f, -5.0f), forward(0.0f, 0.0f, 1.0f), lookAt(0.0f, 0.0f, 7.0f), up(0.0f, 1.0f, 0.0f),
      right(1.0f, 0.0f, 0.0f), rotation(0.0f, 0.0f, 0.0f), speed(walkSpeed)
{
}

void Camera::handleInput(Input& input, const RECT& /*screenRect*/, float frameTime)
{
    // The steps are read (and cleared) only while dragging, so a move made
    // before the press still turns the view once in the first dragged frame.
    if (input.isLeftMouseButtonDown()) {
        const int dx = input.getMouseDeltaX();
        addYaw(static_cast<float>(-dx * mouseTurnRate) * frameTime);
        const int dy = input.getMouseDeltaY();
        addPitch(static_cast<float>(dy * mouseTurnRate) * frameTime);
    }

    if (input.isKeyDown(VK_BACK)) {
        std::exit(0);
    }

    if (input.isKeyDown('W')) {
        moveForward(speed * frameTime);
    }
    if (input.isKeyDown('S')) {
        moveForward((-speed) * frameTime);
    }
    if (input.isKeyDown('A')) {
        strafe((-speed) * frameTime);
    }
    if (input.isKeyDown('D')) {
        strafe(speed * frameTime);
    }
}

void Camera::moveForward(float distance)
{
    position = position.addScaled(forward, distance);
}

void Camera::strafe(float distance)
{
    position = position.addScaled(right, distance);
}

void Camera::addYaw(float degrees)
{
    rotation.setX(rotation.getX() + degrees);
}

void Camera::addPitch(float degrees)
{
    rotation.setY(rotation.getY() + degrees);
}

void Camera::update()
{
    const float yaw = rotation.getX() * halfTurnRadians / 180.0f;
    const float pitch = rotation.getY() * halfTurnRadians / 180.0f;
    const float roll = rotation.getZ() * halfTurnRadians / 180.0f;

    const float cx = std::cos(yaw);
    const float cy = std::cos(pitch);
    const float cz = std::cos(roll);
    const float sx = std::sin(yaw);
    const float sy = std::sin(pitch);
    const float sz = std::sin(roll);

    forward.set(sx * cy, sy, (-cx) * cy);
    lookAt = position.add(forward);
    up.set((-cx) * sz - (sx * sy) * cz, cy * cz, (-sx) * sz - (sy * cz) * (-cx));
    right = forward.cross(up);
}

void Camera::setHeight(float y)
{
    position.setY(y);
}

void Camera::setSpeed(float unitsPerSecond)
{
    speed = unitsPerSecond;
}
