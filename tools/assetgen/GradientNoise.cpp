#include "GradientNoise.h"

#include "Shaping.h"

#include <cmath>

namespace {
// sixteen unit directions, tabulated so no platform's sin or cos is needed
constexpr float gradients[16][2] = {
    {1.0f, 0.0f},  {0.92388f, 0.382683f},   {0.707107f, 0.707107f},   {0.382683f, 0.92388f},
    {0.0f, 1.0f},  {-0.382683f, 0.92388f},  {-0.707107f, 0.707107f},  {-0.92388f, 0.382683f},
    {-1.0f, 0.0f}, {-0.92388f, -0.382683f}, {-0.707107f, -0.707107f}, {-0.382683f, -0.92388f},
    {0.0f, -1.0f}, {0.382683f, -0.92388f},  {0.707107f, -0.707107f},  {0.92388f, -0.382683f},
};
// scales the corner sum so the extremes come near -1 and 1
constexpr float amplitude = 1.41421f;

// quintic ease: continuous second derivative, so no creases at cell edges
float fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}
}

GradientNoise::GradientNoise(LatticeHash hashValue, int periodXCells, int periodYCells)
    : hash(hashValue), periodX(periodXCells > 0 ? periodXCells : 1),
      periodY(periodYCells > 0 ? periodYCells : 1)
{
}

float GradientNoise::corner(int ix, int iy, float fx, float fy) const
{
    const float* g = gradients[hash.bits(Shaping::wrap(ix, periodX), Shaping::wrap(iy, periodY)) & 15U];
    return g[0] * fx + g[1] * fy;
}

float GradientNoise::at(float x, float y) const
{
    const float flx = std::floor(x);
    const float fly = std::floor(y);
    const int ix = static_cast<int>(flx);
    const int iy = static_cast<int>(fly);
    const float fx = x - flx;
    const float fy = y - fly;
    const float u = fade(fx);
    const float v = fade(fy);
    const float n00 = corner(ix, iy, fx, fy);
    const float n10 = corner(ix + 1, iy, fx - 1.0f, fy);
    const float n01 = corner(ix, iy + 1, fx, fy - 1.0f);
    const float n11 = corner(ix + 1, iy + 1, fx - 1.0f, fy - 1.0f);
    const float bottom = n00 + (n10 - n00) * u;
    const float top = n01 + (n11 - n01) * u;
    return (bottom + (top - bottom) * v) * amplitude;
}
