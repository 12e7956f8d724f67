#include "SphereModel.h"

#include <cmath>

namespace {
constexpr float radius = 0.7f; // units
constexpr float pi = 3.14159265f;

Vec3 pointAt(float around, float up)
{
    const float polar = pi * (1.0f - up);
    const float azimuth = 2.0f * pi * around;
    return Vec3(std::sin(polar) * std::cos(azimuth), std::cos(polar), -std::sin(polar) * std::sin(azimuth));
}
}

void SphereModel::textureCoordinates(float around, float up, float& s, float& t)
{
    s = textureMargin + (1.0f - 2.0f * textureMargin) * around;
    t = textureMargin + (1.0f - 2.0f * textureMargin) * up;
}

Mesh SphereModel::build(int rings, int segments)
{
    Mesh mesh;
    for (int i = 0; i < rings; ++i) {
        for (int k = 0; k < segments; ++k) {
            const float u0 = static_cast<float>(k) / segments;
            const float u1 = static_cast<float>(k + 1) / segments;
            const float v0 = static_cast<float>(i) / rings;
            const float v1 = static_cast<float>(i + 1) / rings;
            Mesh::Corner c[4];
            const float us[4] = {u0, u1, u1, u0};
            const float vs[4] = {v0, v0, v1, v1};
            for (int q = 0; q < 4; ++q) {
                const Vec3 n = pointAt(us[q], vs[q]);
                float s = 0.0f;
                float t = 0.0f;
                textureCoordinates(us[q], vs[q], s, t);
                c[q] = {n * radius, s, t, n};
            }
            // the poles' quads have one edge of no length: one triangle each
            mesh.addFacing(c[0], c[1], c[2]);
            mesh.addFacing(c[0], c[2], c[3]);
        }
    }
    return mesh;
}
