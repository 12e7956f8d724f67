#include "RustTexture.h"

#include "CarLayout.h"
#include "Fbm.h"
#include "LatticeHash.h"
#include "Shaping.h"
#include "WorleyNoise.h"

#include <algorithm>
#include <cmath>

namespace {
// 1 within `width` of `centre`, fading over a pixel or so either side
float line(float x, float centre, float width)
{
    return 1.0f - Shaping::smoothstep(width * 0.5f, width * 0.5f + 0.02f, std::fabs(x - centre));
}

// signed distance from the side-view point (a, b) to the rim of the wheel arch
// over `axle`: negative inside the arch
float archDistance(float a, float b, float axle)
{
    return std::hypot(a - axle, b - CarLayout::wheelRadius) - CarLayout::archRadius;
}
}

Image RustTexture::render(int size) const
{
    const LatticeHash hash(seed);
    const Fbm rustShape(hash.derived(1), 6, 6, 5);
    const Fbm rustTone(hash.derived(2), 24, 24, 4);
    const Fbm dents(hash.derived(3), 6, 6, 2);
    const WorleyNoise blooms(hash.derived(4), 20, 20, 1.0f);
    const WorleyNoise cracks(hash.derived(5), 12, 6, 1.0f);
    const Fbm fine(hash.derived(6), 96, 96, 2);
    const Color paint = Color::fromBytes(128, 146, 116);
    const Color rustDark = Color::fromBytes(74, 38, 22);
    const Color rustOrange = Color::fromBytes(160, 84, 38);
    const Color interior = Color::fromBytes(26, 24, 22);
    const Color rubber = Color::fromBytes(40, 38, 36);
    const Color steel = Color::fromBytes(120, 116, 110);
    const Color chrome = Color::fromBytes(170, 172, 170);

    // paint eaten by rust: more where `exposure` (0..1) is high
    auto rusted = [&](float u, float v, float exposure) {
        const float shape = rustShape.at(u, v) * 0.5f + 0.5f + 0.35f * exposure;
        const float bloom = 1.0f - Shaping::smoothstep(0.0f, 0.8f, blooms.at(u, v).f1);
        const float grain = fine.at(u, v);
        const float amount = Shaping::smoothstep(0.6f, 0.72f, shape + 0.12f * bloom + 0.08f * grain);
        const Color rust = rustDark.mix(rustOrange, rustTone.at(u, v) * 0.6f + 0.45f);
        Color c = (paint * (0.9f + 0.1f * grain)).mix(rust, amount);
        // baked dents: light on one flank, shadow on the other
        const float dx = dents.at(u + 0.004f, v) - dents.at(u - 0.004f, v);
        return c * (1.0f + 1.2f * dx + 0.05f * fine.at(v, u));
    };

    Image image(size, size);
    image.fill([&](int px, int py) {
        const float s = (px + 0.5f) / size;
        const float t = 1.0f - (py + 0.5f) / size;
        float a = 0.0f;
        float b = 0.0f;
        if (CarLayout::unmap(CarLayout::side, s, t, a, b)) {
            // a runs along the car, b up from the ground
            float exposure = 1.0f - Shaping::smoothstep(CarLayout::sill, 1.6f, b);
            for (const float axle : {CarLayout::frontAxle, CarLayout::rearAxle}) {
                exposure =
                    std::max(exposure, 1.0f - Shaping::smoothstep(0.0f, 0.3f, archDistance(a, b, axle)));
            }
            Color c = rusted(s, t, exposure);
            const bool window = a > CarLayout::rearWindowBase + 0.45f &&
                                a < CarLayout::windshieldBase - 0.45f && b > CarLayout::belt + 0.12f &&
                                b < CarLayout::cabinTop(a) - 0.18f &&
                                std::fabs(a - CarLayout::bPillar) > 0.14f;
            if (window) {
                // the glass is gone: a dark cabin with a glint of a seat back
                c = interior * (1.0f + 0.4f * fine.at(s, t) + 0.3f * Shaping::smoothstep(2.9f, 3.1f, b));
                const WorleyNoise::Sample crack = cracks.at(s, t);
                if (crack.f2 - crack.f1 < 0.04f && b < CarLayout::belt + 0.35f) {
                    c = Color::fromBytes(150, 156, 160);
                }
            } else {
                float seam = 0.0f;
                if (b > CarLayout::sill + 0.1f && b < CarLayout::cabinTop(a) - 0.05f) {
                    for (const float door :
                         {CarLayout::frontDoorFront, CarLayout::bPillar, CarLayout::rearDoorRear}) {
                        seam = std::max(seam, line(a, door, 0.03f));
                    }
                }
                c = c * (1.0f - 0.75f * seam);
                // door handles and what is left of the chrome strip
                for (const float handle : {CarLayout::bPillar + 0.45f, CarLayout::rearDoorRear + 0.45f}) {
                    if (std::fabs(a - handle) < 0.2f && std::fabs(b - 2.3f) < 0.05f) {
                        c = chrome * 0.7f;
                    }
                }
                if (std::fabs(b - 1.95f) < 0.035f && std::fabs(a) < 6.1f &&
                    rustShape.at(s * 3.0f, 0.5f) < 0.25f) {
                    c = chrome * (b > 1.95f ? 1.1f : 0.8f);
                }
                // the wheel arch lips have rusted through to holes
                for (const float axle : {CarLayout::frontAxle, CarLayout::rearAxle}) {
                    const float d = archDistance(a, b, axle);
                    if (d > 0.0f && d < 0.07f + 0.06f * rustShape.at(s * 2.0f, t * 2.0f)) {
                        c = rustDark * 0.6f;
                    }
                }
            }
            return c;
        }
        if (CarLayout::unmap(CarLayout::top, s, t, a, b)) {
            // hood, roof and boot from above: sun and rain have done the most here
            Color c = rusted(s, t, 0.25f);
            const bool hoodLine =
                line(a, 5.9f, 0.03f) > 0.5f || line(a, CarLayout::windshieldBase, 0.03f) > 0.5f;
            const bool bootLine = line(a, -3.95f, 0.03f) > 0.5f;
            if ((hoodLine || bootLine) && std::fabs(b) < 2.15f) {
                c = c * 0.3f;
            }
            return c;
        }
        if (CarLayout::unmap(CarLayout::front, s, t, a, b) || CarLayout::unmap(CarLayout::rear, s, t, a, b)) {
            const bool nose = t >= CarLayout::front.t0;
            const float z = a;
            const float y = b;
            Color c = rusted(s, t, 1.0f - Shaping::smoothstep(0.7f, 1.5f, y));
            if (nose) {
                if (std::fabs(z) < 1.2f && y > 1.3f && y < 1.85f) {
                    // grille: dark slots between slats
                    const float slat = std::fmod(y - 1.3f, 0.11f);
                    c = slat < 0.035f ? chrome * 0.75f : interior;
                }
                for (const float side : {-1.0f, 1.0f}) {
                    const float d = std::hypot(z - side * 1.75f, y - 1.6f);
                    if (d < 0.34f) {
                        const bool broken = side > 0.0f;
                        c = d > 0.28f ? chrome : (broken ? interior * 1.5f : Color::fromBytes(214, 214, 200));
                        if (!broken) {
                            c = c * (1.0f - 0.8f * d);
                        }
                    }
                }
            } else {
                for (const float side : {-1.0f, 1.0f}) {
                    if (std::fabs(z - side * 1.75f) < 0.45f && y > 1.55f && y < 2.05f) {
                        const bool broken = side < 0.0f;
                        c = broken ? interior * 1.4f
                                   : Color::fromBytes(150, 30, 24) * (0.9f + 0.2f * fine.at(s, t));
                    }
                }
                if (std::fabs(z) < 0.6f && y > 1.05f && y < 1.35f) {
                    c = Color::fromBytes(196, 192, 170) * (0.85f + 0.1f * fine.at(s, t));
                    if (std::fabs(y - 1.2f) < 0.05f && std::fmod(z + 0.6f, 0.14f) < 0.08f) {
                        c = interior;
                    }
                }
            }
            return c;
        }
        if (CarLayout::unmap(CarLayout::glass, s, t, a, b)) {
            // windshield and rear window: crazed glass over a dark cabin
            Color c = interior * (1.1f + 0.3f * fine.at(s, t));
            const WorleyNoise::Sample crack = cracks.at(s * 3.0f, t * 3.0f);
            if (crack.f2 - crack.f1 < 0.05f) {
                c = c.mix(Color::fromBytes(160, 168, 172), 0.7f);
            }
            return c;
        }
        if (CarLayout::unmap(CarLayout::tyre, s, t, a, b)) {
            Color c = rubber * (0.95f + 0.1f * fine.at(s, t));
            if (std::fabs(b) < 0.5f) {
                // tread blocks and the grooves between them
                const float along = std::fmod(a * 10.0f, 1.0f);
                const float across = std::fmod((b + 0.5f) * 4.0f, 1.0f);
                if (along < 0.18f || across < 0.15f) {
                    c = c * 0.55f;
                }
            } else {
                c = c.mix(Color::fromBytes(92, 84, 70), 0.25f * (std::fabs(b) - 0.5f) * 2.0f);
            }
            return c;
        }
        if (CarLayout::unmap(CarLayout::rim, s, t, a, b)) {
            const float r = std::hypot(a, b);
            Color c = (steel * (0.9f + 0.1f * fine.at(s, t)))
                          .mix(rustOrange * 0.8f,
                               Shaping::smoothstep(0.3f, 0.7f, rustShape.at(s, t) * 0.5f + 0.5f));
            if (r > 0.6f) {
                c = rubber;
            } else if (r > 0.53f) {
                c = c * 1.15f;
            }
            const float angle = std::atan2(b, a);
            const float vent = std::fmod(angle + 3.14159265f + 0.39f, 1.5707963f);
            if (r > 0.34f && r < 0.46f && vent < 0.35f) {
                c = interior;
            }
            if (r < 0.2f) {
                c = rustDark * 0.8f;
                for (int nut = 0; nut < 4; ++nut) {
                    const float na = nut * 1.5707963f;
                    if (std::hypot(a - 0.12f * std::cos(na), b - 0.12f * std::sin(na)) < 0.03f) {
                        c = steel;
                    }
                }
            }
            return c;
        }
        return rusted(s, t, 0.5f);
    });
    return image;
}
