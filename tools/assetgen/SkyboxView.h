// Looks through the sky-box cube at a decoded atlas the way the program's
// sky box list maps it, for previews: a direction picks its cube face and
// the face's (s, t) from the table of corners in SkyboxFaces.
#pragma once

#include "Color.h"
#include "Image.h"
#include "Vec3.h"

class SkyboxView {
public:
    explicit SkyboxView(const Image& atlasValue) : atlas(atlasValue) {}

    // the atlas colour seen along `direction`, filtered bilinearly
    Color look(const Vec3& direction) const;
    // a width x height view with vertical field of view `fovY` (degrees),
    // turned `yaw` degrees left of -z and `pitch` degrees up
    Image render(int width, int height, float fovY, float yaw, float pitch) const;

private:
    const Image& atlas;
};
