#include "LampTexture.h"

#include "Fbm.h"
#include "LatticeHash.h"
#include "Shaping.h"
#include "SphereModel.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int cageMeridians = 8; // wires from pole to pole
constexpr int cageRings = 5;     // wires round the globe, poles excluded
}

Image LampTexture::render(int width, int height) const
{
    const Fbm frost(LatticeHash(seed), 8, 4, 4);
    const Color core = Color::fromBytes(255, 236, 255);
    const Color glow = Color::fromBytes(250, 150, 240);
    const Color wire = Color::fromBytes(70, 62, 72);
    Image image(width, height);
    image.fill([&](int x, int y) {
        const float s = (x + 0.5f) / width;
        const float t = 1.0f - (y + 0.5f) / height;
        // back from texture to latitude and longitude, so the cage wires
        // meet across the seam where longitude wraps
        const float margin = SphereModel::textureMargin;
        const float around = (s - margin) / (1.0f - 2.0f * margin);
        const float up = std::clamp((t - margin) / (1.0f - 2.0f * margin), 0.0f, 1.0f);
        const float equator = 1.0f - std::fabs(up - 0.5f) * 2.0f;
        Color c = glow.mix(core, 0.35f + 0.65f * equator);
        c = c * (0.93f + 0.07f * frost.at(around, up));
        const float meridian = std::fabs(around * cageMeridians - std::round(around * cageMeridians));
        const float ring = std::fabs(up * (cageRings + 1) - std::round(up * (cageRings + 1)));
        // wires look thinner towards the poles where meridians converge
        const float wireWidth = 0.06f;
        const float onMeridian =
            1.0f - Shaping::smoothstep(wireWidth, wireWidth * 1.6f, meridian * (0.4f + equator));
        const float onRing = 1.0f - Shaping::smoothstep(wireWidth, wireWidth * 1.6f, ring);
        const float cap = Shaping::smoothstep(0.08f, 0.04f, std::min(up, 1.0f - up));
        return c.mix(wire, std::max({onMeridian * 0.85f, onRing * 0.85f, cap}));
    });
    return image;
}
