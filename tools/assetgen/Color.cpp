#include "Color.h"

#include <algorithm>

Color Color::fromBytes(int rv, int gv, int bv)
{
    return {rv / 255.0f, gv / 255.0f, bv / 255.0f};
}

Color Color::mix(const Color& other, float t) const
{
    const float k = std::clamp(t, 0.0f, 1.0f);
    return {r + (other.r - r) * k, g + (other.g - g) * k, b + (other.b - b) * k};
}

float Color::luminance() const
{
    return 0.2126f * r + 0.7152f * g + 0.0722f * b;
}

uint8_t Color::toByte(float value)
{
    const float scaled = std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f;
    return static_cast<uint8_t>(scaled);
}
