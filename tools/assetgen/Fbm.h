// Fractal sum of tileable gradient noise. Each octave doubles both the
// frequency and the lattice period, so the sum tiles like its first octave.
#pragma once

#include "GradientNoise.h"

#include <vector>

class Fbm {
public:
    // `cellsX` by `cellsY` lattice cells of the first octave span one tile
    Fbm(LatticeHash hash, int cellsX, int cellsY, int octaveCount, float gainValue = 0.5f);

    // value in about -1..1 at (u, v) in tile units: 0..1 is one tile
    float at(float u, float v) const;
    // 1 - |noise| summed the same way: sharp ridges along the noise's zeroes
    float ridgedAt(float u, float v) const;

private:
    // the weighted sum over the octaves of `shape` of each octave's noise
    template <typename Shape>
    float sum(float u, float v, Shape shape) const;

    std::vector<GradientNoise> octaves;
    float gain = 0.5f;
    float norm = 1.0f;
};
