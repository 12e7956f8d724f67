// The marker of the orbiting light: a smooth globe of radius 0.7 about the
// origin, so the frame's half and quarter scales give markers 0.7 and 0.35
// units across. Latitude-longitude tessellation with texture coordinates
// kept inside the image's margin, as the texture is clamped.
#pragma once

#include "Mesh.h"

class SphereModel {
public:
    // texture units kept clear of the clamped edge on every side
    static constexpr float textureMargin = 0.02f;

    // the globe with `rings` bands of latitude and `segments` of longitude
    static Mesh build(int rings, int segments);
    // texture coordinates of latitude and longitude fractions (0..1)
    static void textureCoordinates(float around, float up, float& s, float& t);
};
