#include "tools/icongen/IconCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr int samplesPerSide = 8; // per pixel, each way
constexpr int64_t subunits = 256; // fixed-point units per pixel
constexpr int64_t sampleSpacing = subunits / samplesPerSide;
constexpr uint32_t opaque = 255 * 255; // a sample's full alpha

struct FixedPoint {
    int64_t x = 0;
    int64_t y = 0;
};

// Crossing count with half-open edges: a sample on a shared edge belongs to
// exactly one of two neighbouring polygons.
bool contains(const std::vector<FixedPoint>& corners, int64_t x, int64_t y)
{
    bool inside = false;
    for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const FixedPoint& a = corners[j];
        const FixedPoint& b = corners[i];
        if ((a.y <= y) == (b.y <= y)) {
            continue;
        }
        const int64_t dy = b.y - a.y;
        // Left of the edge's crossing at height y, without a division.
        const int64_t along = (x - a.x) * dy;
        const int64_t crossing = (b.x - a.x) * (y - a.y);
        const bool left = dy > 0 ? along < crossing : along > crossing;
        if (left) {
            inside = !inside;
        }
    }
    return inside;
}

// Samples sit in the middle of their cells.
int64_t samplePosition(int index)
{
    return index * sampleSpacing + sampleSpacing / 2;
}

// part / whole as a byte, rounded to nearest
uint8_t toByte(uint64_t part, uint64_t whole)
{
    return static_cast<uint8_t>(std::min<uint64_t>((part * 255 + whole / 2) / whole, 255));
}
}

IconCanvas::IconCanvas(int sideLength)
    : size(sideLength),
      samples(static_cast<size_t>(sideLength) * sideLength * samplesPerSide * samplesPerSide * 4, 0)
{
}

void IconCanvas::fillPolygon(const std::vector<IconPoint>& corners, IconColour colour)
{
    if (corners.size() < 3) {
        return;
    }
    std::vector<FixedPoint> fixed;
    int64_t left = INT64_MAX;
    int64_t right = INT64_MIN;
    int64_t top = INT64_MAX;
    int64_t bottom = INT64_MIN;
    for (const IconPoint& corner : corners) {
        const FixedPoint point{std::llround(static_cast<double>(corner.x) * subunits),
                               std::llround(static_cast<double>(corner.y) * subunits)};
        fixed.push_back(point);
        left = std::min(left, point.x);
        right = std::max(right, point.x);
        top = std::min(top, point.y);
        bottom = std::max(bottom, point.y);
    }
    const int64_t sampleCount = static_cast<int64_t>(size) * samplesPerSide;
    auto firstSample = [sampleCount](int64_t from) {
        return static_cast<int>(std::clamp<int64_t>(from / sampleSpacing - 1, 0, sampleCount));
    };
    auto endSample = [sampleCount](int64_t to) {
        return static_cast<int>(std::clamp<int64_t>(to / sampleSpacing + 1, 0, sampleCount));
    };

    const uint32_t alpha = colour.alpha;
    const uint32_t source[4] = {colour.red * alpha, colour.green * alpha, colour.blue * alpha, 255 * alpha};
    const int samplesPerRow = size * samplesPerSide;
    for (int row = firstSample(top); row < endSample(bottom); ++row) {
        for (int column = firstSample(left); column < endSample(right); ++column) {
            if (!contains(fixed, samplePosition(column), samplePosition(row))) {
                continue;
            }
            uint32_t* target = &samples[(static_cast<size_t>(row) * samplesPerRow + column) * 4];
            for (int channel = 0; channel < 4; ++channel) {
                target[channel] = source[channel] + (target[channel] * (255 - alpha) + 127) / 255;
            }
        }
    }
}

IconColour IconCanvas::pixel(int x, int y) const
{
    const int samplesPerRow = size * samplesPerSide;
    uint64_t sum[4] = {0, 0, 0, 0};
    for (int row = y * samplesPerSide; row < (y + 1) * samplesPerSide; ++row) {
        for (int column = x * samplesPerSide; column < (x + 1) * samplesPerSide; ++column) {
            const uint32_t* sample = &samples[(static_cast<size_t>(row) * samplesPerRow + column) * 4];
            for (int channel = 0; channel < 4; ++channel) {
                sum[channel] += sample[channel];
            }
        }
    }
    constexpr uint64_t fullPixel = uint64_t{opaque} * samplesPerSide * samplesPerSide;
    // A pixel too faint to show is left fully clear, colour included, so
    // that the icon's mask and its alpha agree.
    const uint8_t alpha = toByte(sum[3], fullPixel);
    if (alpha == 0) {
        return {0, 0, 0, 0};
    }
    return {toByte(sum[0], sum[3]), toByte(sum[1], sum[3]), toByte(sum[2], sum[3]), alpha};
}
