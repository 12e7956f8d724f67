// The program's sky-box cube and where its faces lie in the 4 x 4 atlas:
// left, front, right and back across the second band from the top, the top
// above the front and the bottom below it. Maps both ways between world
// directions and atlas coordinates (s, t), with t = 1 the image's top row,
// as the texture is loaded flipped.
#pragma once

#include "Vec3.h"

class SkyboxFaces {
public:
    static constexpr int faceCount = 6;

    // atlas (s, t) seen along `direction`
    static void atlasCoordinates(const Vec3& direction, float& s, float& t);
    // the direction whose ray meets the atlas at (s, t). Inside a used cell
    // that is the face's own ray; elsewhere the plane of the nearest used
    // cell is extended, so whatever filtering bleeds in continues the sky.
    static Vec3 direction(float s, float t);
    // direction to the point (a, b) in -1..1 across face `face`, a along s, b along t
    static Vec3 faceDirection(int face, float a, float b);
    // atlas (s, t) of the point (a, b) across face `face`
    static void faceAtlasCoordinates(int face, float a, float b, float& s, float& t);
    // how far (s, t) lies from the nearest used cell, in texture units; 0
    // inside one
    static float distanceToFace(float s, float t);
};
