// Tileable 2D gradient noise: the lattice wraps after `periodX` by `periodY`
// cells, so a texture sampled over exactly one period repeats without seams.
#pragma once

#include "LatticeHash.h"

class GradientNoise {
public:
    GradientNoise(LatticeHash hashValue, int periodXCells, int periodYCells);

    // value in about -1..1 at (x, y) in lattice cells
    float at(float x, float y) const;
    int getPeriodX() const { return periodX; }
    int getPeriodY() const { return periodY; }

private:
    float corner(int ix, int iy, float fx, float fy) const;

    LatticeHash hash;
    int periodX = 1;
    int periodY = 1;
};
