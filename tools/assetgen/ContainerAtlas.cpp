#include "ContainerAtlas.h"

#include "Fbm.h"
#include "LatticeHash.h"
#include "Shaping.h"
#include "StrokeFont.h"
#include "WorleyNoise.h"

#include <algorithm>
#include <cmath>

namespace {
// atlas cuts of the box list, in texture units
constexpr float cutA = 0.333f;
constexpr float cutB = 0.6666f;
// texels round the used cells that filtering reaches: a mipmap one level
// down for each doubling
constexpr float unusedMarginTexels = 16.0f;
// box dimensions, in units
constexpr float boxLength = 5.0f;
constexpr float boxSide = 1.75f;
// frame members, in units
constexpr float postWidth = 0.09f;
constexpr float topRail = 0.07f;
constexpr float bottomRail = 0.1f;
constexpr float header = 0.14f;
constexpr float sill = 0.1f;
constexpr int sideCorrugations = 34;
constexpr int endCorrugations = 10;
constexpr float lockingBar = 0.028f; // width of a door's vertical locking bar

// light on a trapezoidal corrugation at phase 0..1: outer flat, one flank,
// inner flat, the other flank
float corrugation(float phase)
{
    const float f = phase - std::floor(phase);
    if (f < 0.36f) {
        return 1.04f;
    }
    if (f < 0.5f) {
        return 0.8f;
    }
    if (f < 0.86f) {
        return 0.93f;
    }
    return 1.14f;
}

// the faces in viewer coordinates: x to the right as seen from outside, y up,
// both in units
struct FacePoint {
    float x;
    float y;
    float width;
    float height;
};

// a rectangle of the face, with `x0 <= x < x1`, `y0 <= y < y1`
bool inside(const FacePoint& p, float x0, float y0, float x1, float y1)
{
    return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1;
}
}

Image ContainerAtlas::render(int size) const
{
    const LatticeHash hash(livery.seed);
    const Fbm paintNoise(hash.derived(1), 8, 8, 5);
    const Fbm streaks(hash.derived(2), 48, 3, 3);
    const Fbm blotches(hash.derived(3), 6, 6, 4);
    const WorleyNoise flakes(hash.derived(4), 96, 96, 1.0f);
    const Fbm wear(hash.derived(5), 32, 32, 3);
    const Color rustDark = Color::fromBytes(92, 48, 26);
    const Color rustLight = Color::fromBytes(150, 82, 40);
    const Color dirt = Color::fromBytes(70, 64, 52);
    const Color shadowGap = Color::fromBytes(24, 22, 20);
    const Color steel = Color::fromBytes(150, 150, 146);

    // lettering masks, painted upright in each face's viewer coordinates
    const int sideW = size;
    const int sideH = static_cast<int>((1.0f - cutB) * size + 0.5f);
    const int cellW = static_cast<int>(cutA * size + 0.5f);
    Image sideMask(sideW, sideH);
    const float nameHeight = sideH * 0.2f;
    const float nameWidth = StrokeFont::width(livery.name, nameHeight);
    StrokeFont::draw(sideMask, livery.name, (sideW - nameWidth) * 0.5f, sideH * 0.5f, nameHeight,
                     nameHeight * 0.16f);
    const float codeHeight = sideH * 0.05f;
    StrokeFont::draw(sideMask, livery.ownerCode,
                     sideW * 0.82f - StrokeFont::width(livery.ownerCode, codeHeight), sideH * 0.16f,
                     codeHeight, codeHeight * 0.15f);
    Image doorMask(cellW, cellW);
    // owner prefix, serial and check digit, and the size-type code, on the right door
    const float doorCode = cellW * 0.036f;
    const size_t split = livery.ownerCode.find(' ');
    StrokeFont::draw(doorMask, livery.ownerCode.substr(0, split), cellW * 0.57f, cellW * 0.2f, doorCode,
                     doorCode * 0.17f);
    StrokeFont::draw(doorMask, livery.ownerCode.substr(split + 1), cellW * 0.57f, cellW * 0.26f, doorCode,
                     doorCode * 0.17f);
    StrokeFont::draw(doorMask, "22G1", cellW * 0.57f, cellW * 0.32f, doorCode, doorCode * 0.17f);

    auto letteringAt = [](const Image& mask, const FacePoint& p) {
        return mask.sample(p.x / p.width, 1.0f - p.y / p.height).r;
    };

    // weathered paint shared by every face: rust streaks running down from
    // the top, dirt splashed up from the ground, flaking along edges
    auto weather = [&](Color c, const FacePoint& p, float u, float v, float edgeWear) {
        c = c * (0.92f + 0.1f * paintNoise.at(u, v));
        const float fromTop = 1.0f - p.y / p.height;
        const float streak = Shaping::smoothstep(0.5f, 0.72f, streaks.at(u, v) * 0.5f + 0.5f);
        const float rusty = streak * (1.0f - Shaping::smoothstep(0.05f, 0.9f, fromTop)) * livery.rust;
        c = c.mix(rustDark.mix(rustLight, paintNoise.at(v, u) * 0.5f + 0.5f), rusty * 0.75f);
        const float blotch = Shaping::smoothstep(0.55f, 0.8f, blotches.at(u, v) * 0.5f + 0.5f) * livery.rust;
        c = c.mix(rustLight * 0.85f, blotch * 0.55f);
        const WorleyNoise::Sample flake = flakes.at(u, v);
        if (flake.f1 < 0.2f * edgeWear * livery.rust && wear.at(u, v) > 0.3f) {
            c = rustDark;
        }
        const float grime = (1.0f - Shaping::smoothstep(0.0f, 0.3f, p.y / p.height)) * 0.45f;
        return c.mix(dirt, grime + 0.1f * std::max(0.0f, blotches.at(v, u)));
    };

    auto frameShade = [&](const FacePoint& p, float top, float bottom) {
        // posts and rails stand proud: lit on top, shadowed below
        Color c = livery.frame;
        if (p.y >= p.height - top) {
            c = c * (p.y > p.height - top * 0.35f ? 1.1f : 0.95f);
        } else if (p.y < bottom) {
            c = c * (p.y > bottom * 0.7f ? 1.08f : 0.85f);
        }
        return c;
    };

    auto side = [&](const FacePoint& p, float u, float v) {
        Color c;
        const bool post = p.x < postWidth || p.x > p.width - postWidth;
        const bool rail = p.y > p.height - topRail || p.y < bottomRail;
        if (post || rail) {
            c = frameShade(p, topRail, bottomRail);
            if (post) {
                c = c * (std::fabs(p.x - p.width * 0.5f) > p.width * 0.5f - postWidth * 0.3f ? 0.82f : 1.0f);
                // corner castings with their oval apertures
                const bool casting = p.y < 0.11f || p.y > p.height - 0.11f;
                if (casting) {
                    const float cx = p.x < postWidth ? postWidth * 0.5f : p.width - postWidth * 0.5f;
                    const float cy = p.y < 0.11f ? 0.055f : p.height - 0.055f;
                    const float ox = (p.x - cx) / 0.03f;
                    const float oy = (p.y - cy) / 0.02f;
                    c = (ox * ox + oy * oy < 1.0f) ? shadowGap : livery.frame * 0.78f;
                }
            }
        } else {
            const float pitch = (p.width - 2.0f * postWidth) / sideCorrugations;
            const float ridge = corrugation((p.x - postWidth) / pitch);
            c = livery.paint * ridge;
            const float letter = letteringAt(sideMask, p);
            c = c.mix(livery.lettering * ridge, letter * (wear.at(u, v) > -0.35f ? 0.92f : 0.2f));
        }
        return weather(c, p, u, v, post || rail ? 1.6f : 0.7f);
    };

    auto endWall = [&](const FacePoint& p, float u, float v, bool doors) {
        Color c;
        const bool post = p.x < postWidth || p.x > p.width - postWidth;
        const bool rail = p.y > p.height - header || p.y < sill;
        if (post || rail) {
            c = frameShade(p, header, sill);
        } else if (!doors) {
            const float pitch = (p.width - 2.0f * postWidth) / endCorrugations;
            c = livery.paint * corrugation((p.x - postWidth) / pitch);
        } else {
            const float middle = p.width * 0.5f;
            const float doorWidth = middle - postWidth;
            const bool rightDoor = p.x >= middle;
            const float inDoor = rightDoor ? p.x - middle : p.x - postWidth;
            const float pitch = doorWidth / 5.0f;
            // door panels: shallow corrugations between a frame of flat bar
            const bool doorFrame = inDoor < 0.03f || inDoor > doorWidth - 0.03f || p.y < sill + 0.05f ||
                                   p.y > p.height - header - 0.05f;
            c = livery.paint *
                (doorFrame ? 1.02f : 0.97f + 0.06f * (corrugation(inDoor / pitch + 0.3f) - 0.98f));
            if (std::fabs(p.x - middle) < 0.004f || inDoor < 0.003f || inDoor > doorWidth - 0.003f) {
                c = shadowGap;
            }
            // two locking bars per door, with guides, cam keepers and handles
            for (const float at : {0.26f, 0.72f}) {
                const float barX = (rightDoor ? middle : postWidth) + doorWidth * at;
                const float d = (p.x - barX) / (lockingBar * 0.5f);
                if (std::fabs(d) < 1.0f && p.y > sill * 0.6f && p.y < p.height - header * 0.6f) {
                    c = steel.mix(livery.paint, 0.5f) * (1.15f - 0.45f * d * d);
                }
                if (std::fabs(d) < 1.0f && std::fabs(d) > 0.75f) {
                    c = c * 0.7f;
                }
                for (const float guideY : {0.32f, 0.9f, 1.45f}) {
                    if (inside(p, barX - 0.03f, guideY, barX + 0.03f, guideY + 0.035f)) {
                        c = steel * (p.y > guideY + 0.026f ? 1.1f : 0.82f);
                    }
                }
                for (const float keeperY : {sill + 0.01f, p.height - header - 0.06f}) {
                    if (inside(p, barX - 0.032f, keeperY, barX + 0.032f, keeperY + 0.05f)) {
                        c = livery.frame * (p.y > keeperY + 0.04f ? 1.1f : 0.8f);
                    }
                }
                // cam handle lying across the door towards its middle
                const float handleY = 0.68f;
                const float handleDir = at < 0.5f ? 1.0f : -1.0f;
                const float hx = (p.x - barX) * handleDir;
                if (hx > 0.0f && hx < 0.16f && std::fabs(p.y - handleY - hx * 0.05f) < 0.009f) {
                    c = steel * (p.y > handleY + hx * 0.05f ? 1.15f : 0.75f);
                }
                if (inside(p, barX + handleDir * 0.13f - 0.018f, handleY - 0.03f,
                           barX + handleDir * 0.13f + 0.018f, handleY + 0.035f)) {
                    c = livery.frame * 0.9f;
                }
            }
            // four hinges down each door's outer edge
            const float outerX = rightDoor ? p.width - postWidth : postWidth;
            for (const float hingeY : {0.22f, 0.62f, 1.02f, 1.4f}) {
                if (std::fabs(p.x - outerX) < 0.05f && p.y > hingeY && p.y < hingeY + 0.06f) {
                    const float lit = (p.y - hingeY) / 0.06f;
                    c = livery.frame * (0.75f + 0.4f * lit);
                }
            }
            // the data plate on the left door
            if (inside(p, 0.3f, 1.12f, 0.5f, 1.25f)) {
                c = steel * (0.8f + 0.1f * paintNoise.at(u * 4.0f, v * 4.0f));
            }
            c = c.mix(livery.lettering, letteringAt(doorMask, p) * 0.9f);
        }
        return weather(c, p, u, v, post || rail ? 1.6f : 0.8f);
    };

    const Color unusedColour = livery.paint * 0.5f;
    Image image(size, size);
    image.fill([&](int px, int py) {
        const float s = (px + 0.5f) / size;
        const float t = 1.0f - (py + 0.5f) / size;
        if (t >= cutB) {
            const FacePoint p{(1.0f - s) * boxLength, (t - cutB) / (1.0f - cutB) * boxSide, boxLength,
                              boxSide};
            return side(p, s, t);
        }
        // The bottom band and the right cell are never sampled: the door end
        // and far end are continued into them as far as filtering reaches,
        // so mipmaps blend nothing alien, and beyond that they are one flat
        // colour, which costs the image library almost nothing to decode.
        const float margin = unusedMarginTexels / size;
        if (t < cutA - margin || (s > cutB + margin && t < cutB - margin)) {
            return unusedColour;
        }
        const float endT = std::max(t, cutA);
        const float endY = (endT - cutA) / (cutB - cutA) * boxSide;
        if (s < cutA) {
            return endWall({(cutA - s) / cutA * boxSide, endY, boxSide, boxSide}, s, t, true);
        }
        const float endS = std::min(s, cutB);
        return endWall({(cutB - endS) / (cutB - cutA) * boxSide, endY, boxSide, boxSide}, s, t, false);
    });
    return image;
}
