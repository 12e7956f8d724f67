// How one shipping line paints its boxes: paint colours, the name stencilled
// along the sides, the owner code on the doors, and how hard the weather has
// been on them.
#pragma once

#include "Color.h"

#include <cstdint>
#include <string>

class Livery {
public:
    Color paint;           // corrugated walls and doors
    Color frame;           // corner posts, rails, header and sill
    Color lettering;       // stencilled name and codes
    std::string name;      // along the long sides, in capitals
    std::string ownerCode; // four letters, six digits and a check digit, as on real boxes
    float rust = 0.5f;     // 0 fresh paint .. 1 badly streaked
    uint32_t seed = 0;
};
