// Three single-precision floats: a point, a direction or a set of Euler
// angles. A plain value; any float, NaN included, may be stored.
#pragma once

class Vector3 {
public:
    Vector3(float x = 0.0f, float y = 0.0f, float z = 0.0f) : elements{x, y, z} {}

    Vector3& set(float x, float y, float z);
    float getX() const { return elements[0]; }
    float getY() const { return elements[1]; }
    float getZ() const { return elements[2]; }
    Vector3& setX(float x);
    Vector3& setY(float y);
    Vector3& setZ(float z);
    // component i, 0 to 2
    float component(int i) const;

    // receiver + v * s
    Vector3 addScaled(const Vector3& v, float s) const;
    Vector3 add(const Vector3& v) const;
    // receiver - v * s
    Vector3 subtractScaled(const Vector3& v, float s) const;
    // receiver - v
    Vector3 subtract(const Vector3& v) const;
    Vector3& addInPlace(const Vector3& v);
    Vector3& subtractInPlace(const Vector3& v);
    Vector3 scale(float s) const;
    Vector3 copy() const;
    // receiver x v, right-handed
    Vector3 cross(const Vector3& v) const;
    float dot(const Vector3& v) const;
    float lengthSquared() const;
    float length() const;
    // unit length; a zero vector stays zero
    Vector3& normalise();
    // true when every component differs by strictly less than epsilon
    bool equals(const Vector3& v, float epsilon) const;

private:
    float elements[3];
};
