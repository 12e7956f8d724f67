#include "SkyboxView.h"

#include "SkyboxFaces.h"

#include <cmath>

namespace {
constexpr float degreesToRadians = 0.017453293f;
}

Color SkyboxView::look(const Vec3& direction) const
{
    float s = 0.0f;
    float t = 0.0f;
    SkyboxFaces::atlasCoordinates(direction, s, t);
    return atlas.sample(s, 1.0f - t);
}

Image SkyboxView::render(int width, int height, float fovY, float yaw, float pitch) const
{
    const float tanHalf = std::tan(fovY * 0.5f * degreesToRadians);
    const float aspect = static_cast<float>(width) / height;
    const float cy = std::cos(yaw * degreesToRadians);
    const float sy = std::sin(yaw * degreesToRadians);
    const float cp = std::cos(pitch * degreesToRadians);
    const float sp = std::sin(pitch * degreesToRadians);
    const Vec3 forward(-sy * cp, sp, -cy * cp);
    const Vec3 right = forward.cross(Vec3(0, 1, 0)).normalized();
    const Vec3 up = right.cross(forward);
    Image image(width, height);
    image.fill([&](int x, int y) {
        const float px = ((x + 0.5f) / width * 2.0f - 1.0f) * tanHalf * aspect;
        const float py = (1.0f - (y + 0.5f) / height * 2.0f) * tanHalf;
        return look(forward + right * px + up * py);
    });
    return image;
}
