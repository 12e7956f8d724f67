#include "SkyboxFaces.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float cell = 0.25f; // one atlas cell, in texture units

// one face: the axis through its centre, the world directions in which s and
// t grow on it, and the lower-left corner of its atlas cell
struct Face {
    Vec3 centre;
    Vec3 sAxis;
    Vec3 tAxis;
    float s0;
    float t0;
};

// as the sky box list's corners lie: left, front, right, back, top, bottom
const Face faces[SkyboxFaces::faceCount] = {
    {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}, 0.0f, 0.5f}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}, 0.25f, 0.5f},
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, 0.5f, 0.5f},   {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, 0.75f, 0.5f},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}, 0.25f, 0.75f}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, 0.25f, 0.25f},
};
}

void SkyboxFaces::atlasCoordinates(const Vec3& direction, float& s, float& t)
{
    int best = 0;
    float bestAlong = -1e9f;
    for (int i = 0; i < faceCount; ++i) {
        const float along = direction.dot(faces[i].centre);
        if (along > bestAlong) {
            bestAlong = along;
            best = i;
        }
    }
    // the ray meets the face plane where its component along the face axis is 1
    const Vec3 onFace = direction * (1.0f / bestAlong);
    faceAtlasCoordinates(best, onFace.dot(faces[best].sAxis), onFace.dot(faces[best].tAxis), s, t);
}

void SkyboxFaces::faceAtlasCoordinates(int face, float a, float b, float& s, float& t)
{
    s = faces[face].s0 + (a + 1.0f) * 0.5f * cell;
    t = faces[face].t0 + (b + 1.0f) * 0.5f * cell;
}

Vec3 SkyboxFaces::faceDirection(int face, float a, float b)
{
    const Face& f = faces[face];
    return (f.centre + f.sAxis * a + f.tAxis * b).normalized();
}

float SkyboxFaces::distanceToFace(float s, float t)
{
    float nearest = 1e9f;
    for (const Face& face : faces) {
        const float ds = std::max({face.s0 - s, 0.0f, s - (face.s0 + cell)});
        const float dt = std::max({face.t0 - t, 0.0f, t - (face.t0 + cell)});
        nearest = std::min(nearest, std::sqrt(ds * ds + dt * dt));
    }
    return nearest;
}

Vec3 SkyboxFaces::direction(float s, float t)
{
    int nearest = 0;
    float nearestDistance = 1e9f;
    for (int i = 0; i < faceCount; ++i) {
        const float ds = std::max({faces[i].s0 - s, 0.0f, s - (faces[i].s0 + cell)});
        const float dt = std::max({faces[i].t0 - t, 0.0f, t - (faces[i].t0 + cell)});
        const float distance = ds * ds + dt * dt;
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = i;
        }
    }
    const float a = (s - faces[nearest].s0) / cell * 2.0f - 1.0f;
    const float b = (t - faces[nearest].t0) / cell * 2.0f - 1.0f;
    return faceDirection(nearest, a, b);
}
