#include "Fbm.h"

#include <cmath>

Fbm::Fbm(LatticeHash hash, int cellsX, int cellsY, int octaveCount, float gainValue) : gain(gainValue)
{
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaveCount; ++i) {
        octaves.emplace_back(hash.derived(static_cast<uint32_t>(i)), cellsX << i, cellsY << i);
        total += weight;
        weight *= gain;
    }
    norm = total > 0.0f ? 1.0f / total : 1.0f;
}

template <typename Shape>
float Fbm::sum(float u, float v, Shape shape) const
{
    float total = 0.0f;
    float weight = 1.0f;
    for (const GradientNoise& octave : octaves) {
        total += shape(octave.at(u * octave.getPeriodX(), v * octave.getPeriodY())) * weight;
        weight *= gain;
    }
    return total * norm;
}

float Fbm::at(float u, float v) const
{
    return sum(u, v, [](float noise) { return noise; });
}

float Fbm::ridgedAt(float u, float v) const
{
    return sum(u, v, [](float noise) { return 1.0f - std::fabs(noise); });
}
