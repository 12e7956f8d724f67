// Linear RGB colour with components nominally in 0..1; the generators mix
// and shade in floats and only the image writer rounds to bytes.
#pragma once

#include <cstdint>

class Color {
public:
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;

    Color() = default;
    Color(float rv, float gv, float bv) : r(rv), g(gv), b(bv) {}
    // from 0..255 components, as colours are picked in paint programs
    static Color fromBytes(int rv, int gv, int bv);

    Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Color operator*(float s) const { return {r * s, g * s, b * s}; }
    Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b}; }

    // this at t = 0, other at t = 1; t is clamped
    Color mix(const Color& other, float t) const;
    // brightness as the eye weighs it
    float luminance() const;
    // nearest byte of one component, clamped to 0..255
    static uint8_t toByte(float value);
};
