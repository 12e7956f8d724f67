// rust.png: the scrap car's paint, rust, glass, rubber and steel, painted
// into the rectangles CarLayout gives, each in the car's own coordinates so
// door lines, windows, arches and lamps fall where the model has them.
#pragma once

#include "Image.h"

#include <cstdint>

class RustTexture {
public:
    explicit RustTexture(uint32_t seedValue) : seed(seedValue) {}

    // the atlas, `size` pixels square
    Image render(int size) const;

private:
    uint32_t seed = 0;
};
