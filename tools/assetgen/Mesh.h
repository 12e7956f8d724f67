// A triangle soup with a position, texture coordinate and normal on every
// corner, written as the OBJ subset the program's loader reads.
#pragma once

#include "Vec3.h"

#include <string>
#include <vector>

class Mesh {
public:
    struct Corner {
        Vec3 position;
        float u = 0.0f;
        float v = 0.0f;
        Vec3 normal;
    };

    // corners in counter-clockwise order seen from outside
    void addTriangle(const Corner& a, const Corner& b, const Corner& c);
    // adds the triangle wound so that it faces the way its corner normals
    // point; a triangle of no area is dropped, as it has no facing
    void addFacing(const Corner& a, const Corner& b, const Corner& c);

    // OBJ text: a comment line, then v, vt, vn and f lines with LF ends;
    // equal values after rounding are written once and shared
    std::string toObj(const std::string& title) const;

private:
    std::vector<Corner> corners;
};
