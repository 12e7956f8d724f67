// One square tile of lawn seen from above: thousands of blades over a dark,
// shadowed thatch, in gentle patches of lusher and drier growth. Everything
// wraps, so the tile repeats across the ground without seams.
#pragma once

#include "Image.h"

#include <cstdint>

class GrassTexture {
public:
    explicit GrassTexture(uint32_t seedValue) : seed(seedValue) {}

    // the tile, `size` pixels square
    Image render(int size) const;

private:
    uint32_t seed = 0;
};
