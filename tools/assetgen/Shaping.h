// The small shaping functions every generator uses.
#pragma once

class Shaping {
public:
    // 0 below edge0, 1 above edge1, a smooth S between (edges may run downwards)
    static float smoothstep(float edge0, float edge1, float x);
    // value brought into 0..period - 1, for lattices and pixels that wrap
    static int wrap(int value, int period);
};
