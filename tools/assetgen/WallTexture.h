// The yard wall: weathered red brick in running bond on a concrete footing,
// under a concrete coping, with rain streaks and splash grime. The image
// covers 1.2 units across (it repeats twice on each 2.4-unit wall tile) and
// the wall's full 2 units of height, so it tiles across but not up.
#pragma once

#include "Image.h"

#include <cstdint>

class WallTexture {
public:
    explicit WallTexture(uint32_t seedValue) : seed(seedValue) {}

    // the image, `width` x `height` pixels
    Image render(int width, int height) const;

private:
    uint32_t seed = 0;
};
