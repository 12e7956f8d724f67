#include "WorleyNoise.h"

#include "Shaping.h"

#include <cmath>

WorleyNoise::WorleyNoise(LatticeHash hashValue, int cellsXValue, int cellsYValue, float jitterValue)
    : hash(hashValue), cellsX(cellsXValue > 0 ? cellsXValue : 1), cellsY(cellsYValue > 0 ? cellsYValue : 1),
      jitter(jitterValue)
{
}

WorleyNoise::Sample WorleyNoise::at(float u, float v) const
{
    const float x = u * cellsX;
    const float y = v * cellsY;
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    float best = 1e9f;
    float second = 1e9f;
    uint32_t bestId = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int wx = Shaping::wrap(cx + dx, cellsX);
            const int wy = Shaping::wrap(cy + dy, cellsY);
            const float px = cx + dx + 0.5f + (hash.unit(wx, wy, 1) - 0.5f) * jitter;
            const float py = cy + dy + 0.5f + (hash.unit(wx, wy, 2) - 0.5f) * jitter;
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best) {
                second = best;
                best = d;
                bestId = hash.bits(wx, wy, 3);
            } else if (d < second) {
                second = d;
            }
        }
    }
    return {best, second, bestId};
}
