#include "camera/Vector3.h"

#include <cassert>
#include <cmath>

Vector3& Vector3::set(float x, float y, float z)
{
    elements[0] = x;
    elements[1] = y;
    elements[2] = z;
    return *this;
}

Vector3& Vector3::setX(float x)
{
    elements[0] = x;
    return *this;
}

Vector3& Vector3::setY(float y)
{
    elements[1] = y;
    return *this;
}

Vector3& Vector3::setZ(float z)
{
    elements[2] = z;
    return *this;
}

float Vector3::component(int i) const
{
    assert(i >= 0 && i < 3 && "Vector3::component takes 0 (x), 1 (y) or 2 (z)");
    return elements[i];
}

Vector3 Vector3::addScaled(const Vector3& v, float s) const
{
    Vector3 sum(getX() + v.getX() * s, getY() + v.getY() * s, getZ() + v.getZ() * s);
    return sum;
}

Vector3 Vector3::add(const Vector3& v) const
{
    return addScaled(v, 1.0f);
}

Vector3 Vector3::subtractScaled(const Vector3& v, float s) const
{
    Vector3 sub(getX() - v.getX() * s, getY() - v.getY() * s, getZ() - v.getZ() * s);
    return sub;
}

Vector3 Vector3::subtract(const Vector3& v) const
{
    return subtractScaled(v, 1.0f);
}

Vector3& Vector3::addInPlace(const Vector3& v)
{
    elements[0] += v.getX();
    elements[1] += v.getY();
    elements[2] += v.getZ();
    return *this;
}

Vector3& Vector3::subtractInPlace(const Vector3& v)
{
    elements[0] -= v.getX();
    elements[1] -= v.getY();
    elements[2] -= v.getZ();
    return *this;
}

Vector3 Vector3::scale(float s) const
{
    Vector3 scaled(getX() * s, getY() * s, getZ() * s);
    return scaled;
}

Vector3 Vector3::copy() const
{
    Vector3 copy(getX(), getY(), getZ());
    return copy;
}

Vector3 Vector3::cross(const Vector3& v) const
{
    Vector3 cross(getY() * v.getZ() - getZ() * v.getY(), getZ() * v.getX() - getX() * v.getZ(),
                  getX() * v.getY() - getY() * v.getX());
    return cross;
}

float Vector3::dot(const Vector3& v) const
{
    return getX() * v.getX() + getY() * v.getY() + getZ() * v.getZ();
}

float Vector3::lengthSquared() const
{
    return getX() * getX() + getY() * getY() + getZ() * getZ();
}

float Vector3::length() const
{
    return std::sqrt(lengthSquared());
}

Vector3& Vector3::normalise()
{
    const float len = length();
    if (len == 0.0f) {
        return *this;
    }
    // one division, three multiplications
    const float factor = 1.0f / len;
    elements[0] *= factor;
    elements[1] *= factor;
    elements[2] *= factor;
    return *this;
}

bool Vector3::equals(const Vector3& v, float epsilon) const
{
    // strict: a difference equal to epsilon is unequal, and NaN never passes
    if (!(epsilon > std::fabs(getX() - v.getX()))) {
        return false;
    }
    if (!(epsilon > std::fabs(getY() - v.getY()))) {
        return false;
    }
    if (!(epsilon > std::fabs(getZ() - v.getZ()))) {
        return false;
    }
    return true;
}
