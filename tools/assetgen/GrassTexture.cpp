#include "GrassTexture.h"

#include "Fbm.h"
#include "LatticeHash.h"
#include "Stroke.h"

#include <cmath>

namespace {
constexpr float bladesPerPixel = 0.22f;  // blades drawn per pixel of the tile
constexpr float bladeLengthMin = 0.012f; // tile widths
constexpr float bladeLengthMax = 0.035f; // tile widths
constexpr float bladeWidthMin = 0.0022f; // tile widths, at the root
constexpr float bladeWidthMax = 0.0045f; // tile widths, at the root
}

Image GrassTexture::render(int size) const
{
    const LatticeHash hash(seed);
    const Fbm patches(hash.derived(1), 2, 2, 4);
    const Fbm thatch(hash.derived(2), 16, 16, 3);
    const Color soil = Color::fromBytes(38, 34, 20);
    const Color deadThatch = Color::fromBytes(88, 80, 44);
    const Color shadowGreen = Color::fromBytes(34, 58, 20);

    Image image(size, size);
    image.fill([&](int x, int y) {
        const float u = (x + 0.5f) / size;
        const float v = (y + 0.5f) / size;
        const float t = thatch.at(u, v) * 0.5f + 0.5f;
        return soil.mix(deadThatch, t * 0.6f).mix(shadowGreen, 0.55f);
    });

    const Color lush = Color::fromBytes(58, 112, 34);
    const Color fresh = Color::fromBytes(104, 150, 52);
    const Color dry = Color::fromBytes(148, 146, 76);
    const Color dark = Color::fromBytes(30, 68, 24);
    const int bladeCount = static_cast<int>(bladesPerPixel * size * size);
    const LatticeHash blades = hash.derived(3);
    for (int i = 0; i < bladeCount; ++i) {
        const float rootU = blades.unit(i, 0);
        const float rootV = blades.unit(i, 1);
        // blades drawn later stand taller and catch more light: depth from
        // drawing order alone
        const float height = static_cast<float>(i) / bladeCount;
        float dx = blades.unit(i, 2) * 2.0f - 1.0f;
        float dy = blades.unit(i, 3) * 2.0f - 1.0f;
        const float d = std::sqrt(dx * dx + dy * dy) + 1e-4f;
        const float length = (bladeLengthMin + (bladeLengthMax - bladeLengthMin) * blades.unit(i, 4)) * size;
        dx = dx / d * length;
        dy = dy / d * length;
        const float width = (bladeWidthMin + (bladeWidthMax - bladeWidthMin) * blades.unit(i, 5)) * size;
        const Stroke stroke{rootU * size,      rootV * size, rootU * size + dx,
                            rootV * size + dy, width,        width * 0.25f};

        const float patch = patches.at(rootU, rootV) * 0.5f + 0.5f;
        const float pick = blades.unit(i, 6);
        Color tip = lush.mix(fresh, pick);
        if (blades.unit(i, 7) < 0.06f + 0.12f * patch) {
            tip = tip.mix(dry, 0.5f + 0.5f * blades.unit(i, 8));
        }
        const float light = 0.55f + 0.6f * height;
        const Color root = dark.mix(tip, 0.35f) * (0.7f + 0.3f * height);
        stroke.paintGraded(image, root, tip * light, 0.85f + 0.15f * height);
    }
    return image;
}
