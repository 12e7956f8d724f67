#include "CarLayout.h"

#include "Shaping.h"

#include <algorithm>
#include <cmath>

namespace {
float lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}
}

// texture rectangles keep a margin from the image edge: the model's
// texture is clamped, and its outermost texels blend with the border colour
const CarLayout::Region CarLayout::side = {0.02f, 0.52f, 0.98f, 0.98f, -6.6f, 6.6f, 0.6f, 4.0f};
const CarLayout::Region CarLayout::top = {0.02f, 0.27f, 0.98f, 0.5f, -6.6f, 6.6f, -2.6f, 2.6f};
const CarLayout::Region CarLayout::front = {0.74f, 0.14f, 0.98f, 0.25f, 2.6f, -2.6f, 0.6f, 2.7f};
const CarLayout::Region CarLayout::rear = {0.74f, 0.02f, 0.98f, 0.12f, -2.6f, 2.6f, 0.6f, 2.7f};
const CarLayout::Region CarLayout::glass = {0.02f, 0.14f, 0.48f, 0.25f, -2.6f, 2.6f, 2.4f, 4.0f};
const CarLayout::Region CarLayout::tyre = {0.02f, 0.02f, 0.48f, 0.12f, 0.0f, 1.0f, -1.0f, 1.0f};
const CarLayout::Region CarLayout::rim = {0.52f, 0.02f, 0.7f, 0.25f, -1.0f, 1.0f, -1.0f, 1.0f};

float CarLayout::bodyTop(float x)
{
    if (x > 5.8f) {
        return lerp(2.3f, 1.85f, Shaping::smoothstep(5.8f, 6.5f, x)); // the nose rounds down to the bumper
    }
    if (x > windshieldBase) {
        return lerp(belt - 0.08f, 2.3f, (x - windshieldBase) / (5.8f - windshieldBase)); // hood
    }
    if (x > -5.9f) {
        return lerp(belt, belt - 0.1f, Shaping::smoothstep(-3.9f, -5.9f, x)); // belt and boot lid
    }
    return lerp(belt - 0.1f, 1.95f, Shaping::smoothstep(-5.9f, -6.5f, x));
}

float CarLayout::bodyHalfWidth(float x)
{
    const float end = std::fabs(x) > 5.6f ? (std::fabs(x) - 5.6f) / 0.9f : 0.0f;
    return halfWidth - 0.28f * end * end;
}

float CarLayout::bodyBottom(float x)
{
    float bottom = sill;
    for (const float axle : {frontAxle, rearAxle}) {
        const float dx = x - axle;
        if (std::fabs(dx) < archRadius) {
            bottom = std::max(bottom, wheelRadius + std::sqrt(archRadius * archRadius - dx * dx));
        }
    }
    return bottom;
}

float CarLayout::cabinTop(float x)
{
    if (x >= windshieldBase || x <= rearWindowBase) {
        return belt;
    }
    if (x > roofFront) {
        return lerp(roofHeight, belt, (x - roofFront) / (windshieldBase - roofFront));
    }
    if (x > roofRear) {
        // the roof crowns a little between its ends
        const float m = (x - roofRear) / (roofFront - roofRear);
        return roofHeight - 0.05f + 0.1f * std::sin(m * 3.14159265f) * 0.5f;
    }
    return lerp(roofHeight - 0.05f, belt, (roofRear - x) / (roofRear - rearWindowBase));
}

void CarLayout::map(const Region& region, float a, float b, float& s, float& t)
{
    s = region.s0 + (a - region.a0) / (region.a1 - region.a0) * (region.s1 - region.s0);
    t = region.t0 + (b - region.b0) / (region.b1 - region.b0) * (region.t1 - region.t0);
}

bool CarLayout::unmap(const Region& region, float s, float t, float& a, float& b)
{
    if (s < region.s0 || s >= region.s1 || t < region.t0 || t >= region.t1) {
        return false;
    }
    a = region.a0 + (s - region.s0) / (region.s1 - region.s0) * (region.a1 - region.a0);
    b = region.b0 + (t - region.t0) / (region.t1 - region.t0) * (region.b1 - region.b0);
    return true;
}
