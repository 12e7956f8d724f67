// The sky around the yard: a blue sky paling to a hazy horizon, a sun where
// the program's fixed light comes from, drifting cumulus, and low hills far
// off. Every atlas texel is shaded from its own world direction (see
// SkyboxFaces), so the faces meet without seams and the horizon is level.
#pragma once

#include "Color.h"
#include "Fbm.h"
#include "Image.h"
#include "Vec3.h"

#include <cstdint>

class SkyboxAtlas {
public:
    explicit SkyboxAtlas(uint32_t seedValue);

    // the atlas, `size` pixels square (each face `size` / 4)
    Image render(int size) const;
    // the sky seen along the unit vector `direction`
    Color look(const Vec3& direction) const;

private:
    Color sky(const Vec3& direction) const;
    Color clouds(const Vec3& direction, const Color& behind) const;
    // how far (x, z) on the cloud deck lies inside a cloud; <= 0 is clear sky
    float cloudDepth(float x, float z) const;
    float hillHeight(const Vec3& direction) const;
    Color land(const Vec3& direction, float hill) const;

    uint32_t seed = 0;
    Fbm cloudShape;
    Fbm cloudDetail;
    Fbm ridge;
    Fbm forest;
};
