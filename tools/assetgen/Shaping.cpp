#include "Shaping.h"

#include <algorithm>

float Shaping::smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

int Shaping::wrap(int value, int period)
{
    const int m = value % period;
    return m < 0 ? m + period : m;
}
