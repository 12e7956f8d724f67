// Builders for the display lists of everything in the yard that never moves.
// Each call compiles one list in the current OpenGL context and returns its
// name; the texture it is given is bound inside the list and stays the
// caller's. No state: the scene holds one as a member.
#pragma once

#include "platform/Platform.h"

class Shapes {
public:
    // A 1.75 x 1.75 x 5 container with its corner at the origin, long along
    // +z, textured from a 3 x 3 atlas. variant 2 closes both ends, 1 only the
    // far end (z = 5), any other value neither.
    GLuint createBox(GLuint texture, int variant) const;

    // A width x height rectangle in the x-y plane facing +z, cut into
    // columns x rows tiles that each show the texture uRepeat x vRepeat times.
    GLuint createPlane(GLuint texture, float width, float height, int columns, int rows, float uRepeat,
                       float vRepeat) const;

    // A 2-unit cube around the origin, seen from inside, textured from a
    // 4 x 4 atlas; drawn without depth test or lighting, both on afterwards.
    GLuint createSkybox(GLuint texture) const;
};
