#include "Vec3.h"

#include <cmath>

float Vec3::length() const
{
    return std::sqrt(dot(*this));
}

Vec3 Vec3::normalized() const
{
    const float len = length();
    return len > 0.0f ? *this * (1.0f / len) : *this;
}
