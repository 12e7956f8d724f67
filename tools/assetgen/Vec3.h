// Small 3-vector for the generator's geometry and sky directions.
#pragma once

class Vec3 {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float xv, float yv, float zv) : x(xv), y(yv), z(zv) {}

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vec3 operator-() const { return {-x, -y, -z}; }

    // dot product
    float dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    // right-handed cross product
    Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    // returns length
    float length() const;
    // returns this scaled to length 1; the zero vector stays zero
    Vec3 normalized() const;
};
