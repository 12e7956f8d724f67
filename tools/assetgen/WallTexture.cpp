#include "WallTexture.h"

#include "Fbm.h"
#include "LatticeHash.h"
#include "Shaping.h"
#include "WorleyNoise.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float imageWidth = 1.2f;     // units of wall across one image
constexpr float wallHeight = 2.0f;     // units
constexpr float footingTop = 0.12f;    // units above the ground
constexpr float copingBottom = 1.92f;  // units above the ground
constexpr int courses = 36;            // brick courses between footing and coping
constexpr int bricksAcross = 8;        // bricks per course across one image
constexpr float mortarJoint = 0.0065f; // units
}

Image WallTexture::render(int width, int height) const
{
    const LatticeHash hash(seed);
    const Fbm grain(hash.derived(1), 24, 40, 4);
    const Fbm blotch(hash.derived(2), 4, 6, 4);
    const Fbm streaks(hash.derived(3), 24, 2, 3);
    const Fbm chips(hash.derived(4), 48, 80, 2);
    const WorleyNoise pits(hash.derived(5), 60, 100, 0.9f);
    const Color mortar = Color::fromBytes(150, 144, 132);
    const Color concrete = Color::fromBytes(156, 152, 144);
    const Color grime = Color::fromBytes(52, 48, 40);
    const Color brickPalette[] = {
        Color::fromBytes(150, 66, 44), Color::fromBytes(132, 56, 40), Color::fromBytes(164, 84, 56),
        Color::fromBytes(118, 52, 42), Color::fromBytes(142, 74, 52), Color::fromBytes(96, 44, 36),
        Color::fromBytes(170, 96, 66),
    };
    const float courseHeight = (copingBottom - footingTop) / courses;
    const float brickLength = imageWidth / bricksAcross;

    Image image(width, height);
    image.fill([&](int px, int py) {
        const float u = (px + 0.5f) / width;     // 0..1 across, wraps
        const float v = (py + 0.5f) / height;    // 0 at the top
        const float x = u * imageWidth;          // units across
        const float y = (1.0f - v) * wallHeight; // units above the ground
        const float g = grain.at(u, v);
        const float streak = streaks.at(u, v) * 0.5f + 0.5f;
        const float stain = blotch.at(u, v);
        Color c;
        float relief = 0.0f; // baked light: > 0 lit from above, < 0 shadowed
        if (y < footingTop || y > copingBottom) {
            const WorleyNoise::Sample pit = pits.at(u, v);
            c = concrete * (0.92f + 0.1f * g + 0.06f * stain);
            c = c * (pit.f1 < 0.12f ? 0.8f : 1.0f);
            if (y > copingBottom) {
                // the coping overhangs: its underside is in shadow, its top face lit
                relief = y < copingBottom + 0.012f ? -0.45f : 0.08f;
            } else {
                relief = y > footingTop - 0.01f ? 0.1f : 0.0f;
            }
        } else {
            const int course = static_cast<int>((y - footingTop) / courseHeight);
            const float inCourse = (y - footingTop) - course * courseHeight;
            const float offset = (course % 2) * 0.5f * brickLength;
            float along = x + offset;
            int brick = static_cast<int>(std::floor(along / brickLength));
            const float inBrick = along - brick * brickLength;
            brick = Shaping::wrap(brick, bricksAcross);
            // worn arrises: the joint widens where the chip noise is high
            const float wear = std::max(0.0f, chips.at(u, v) - 0.25f) * 0.008f;
            const float joint = mortarJoint * 0.5f + wear;
            const float toEdgeX = std::min(inBrick, brickLength - inBrick);
            const float toEdgeY = std::min(inCourse, courseHeight - inCourse);
            const bool inMortar = toEdgeX < joint || toEdgeY < joint;
            if (inMortar) {
                c = mortar * (0.85f + 0.12f * g);
                // recessed joint: the brick above shades its top
                relief = (courseHeight - inCourse) < joint * 2.0f ? -0.35f : -0.12f;
            } else {
                const uint32_t id = hash.bits(course, brick, 7);
                const Color base = brickPalette[id % 7];
                const float shade = 0.86f + 0.2f * hash.unit(course, brick, 8);
                c = base * shade * (0.9f + 0.14f * g);
                // a few bricks spalled or soot-darkened
                if (hash.unit(course, brick, 9) < 0.08f) {
                    c = c * 0.7f;
                }
                const WorleyNoise::Sample pit = pits.at(u, v);
                if (pit.f1 < 0.1f) {
                    c = c * 0.82f;
                }
                relief = toEdgeY < joint + 0.002f && inCourse > courseHeight * 0.5f ? 0.12f : 0.0f;
            }
        }
        // rain runs down from the coping and splashes up from the ground
        const float runoff =
            Shaping::smoothstep(0.3f, 0.8f, streak) * Shaping::smoothstep(0.4f, copingBottom, y) * 0.5f;
        const float splash = (1.0f - Shaping::smoothstep(0.0f, 0.6f, y)) * (0.45f + 0.25f * stain);
        const float damp = std::clamp(runoff + splash + 0.12f * stain, 0.0f, 0.75f);
        // decades of soot mute the brick towards a brownish grey
        const float lum = c.luminance();
        c = c.mix(Color(lum, lum * 0.95f, lum * 0.88f), 0.22f);
        c = c.mix(grime, damp);
        return c * (1.0f + relief);
    });
    return image;
}
