// sphereTex.jpg: the marker globe as a caged lamp, glowing the magenta of
// the light it marks, laid out by latitude and longitude as SphereModel maps it.
#pragma once

#include "Image.h"

#include <cstdint>

class LampTexture {
public:
    explicit LampTexture(uint32_t seedValue) : seed(seedValue) {}

    // the image, `width` x `height` pixels
    Image render(int width, int height) const;

private:
    uint32_t seed = 0;
};
