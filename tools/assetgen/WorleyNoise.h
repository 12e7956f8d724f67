// Tileable cellular (Worley) noise: one jittered feature point per cell of a
// `cellsX` by `cellsY` grid over one tile. Gives pebbles, rust blooms, cracks
// (along F2 - F1) and cell ids for per-cell colour.
#pragma once

#include "LatticeHash.h"

#include <cstdint>

class WorleyNoise {
public:
    struct Sample {
        float f1 = 0.0f; // distance to the nearest point, in cells
        float f2 = 0.0f; // distance to the second nearest, in cells
        uint32_t id = 0; // hash of the nearest point's cell
    };

    WorleyNoise(LatticeHash hashValue, int cellsXValue, int cellsYValue, float jitterValue = 1.0f);

    // distances at (u, v) in tile units
    Sample at(float u, float v) const;

private:
    LatticeHash hash;
    int cellsX = 1;
    int cellsY = 1;
    float jitter = 1.0f;
};
