#include "camera/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void expectVector(const Vector3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.getX(), x);
    EXPECT_FLOAT_EQ(v.getY(), y);
    EXPECT_FLOAT_EQ(v.getZ(), z);
}

TEST(Vector3, DefaultsToZeroAndIndexesComponentsInOrder)
{
    expectVector(Vector3(), 0.0f, 0.0f, 0.0f);
    const Vector3 v(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(v.component(0), 1.0f);
    EXPECT_EQ(v.component(1), 2.0f);
    EXPECT_EQ(v.component(2), 3.0f);
}

TEST(Vector3, SubtractTakesArgumentFromReceiverAndLeavesBothAlone)
{
    const Vector3 receiver(4.0f, 4.0f, 4.0f);
    const Vector3 argument(1.0f, 2.0f, 3.0f);
    expectVector(receiver.subtract(argument), 3.0f, 2.0f, 1.0f);
    expectVector(receiver, 4.0f, 4.0f, 4.0f);
    expectVector(argument, 1.0f, 2.0f, 3.0f);
    expectVector(receiver.subtractScaled(argument, 2.0f), 2.0f, 0.0f, -2.0f);
}

TEST(Vector3, AddScaledAndScaleBuildNewVectors)
{
    const Vector3 a(1.0f, -2.0f, 0.5f);
    const Vector3 b(2.0f, 3.0f, -4.0f);
    expectVector(a.addScaled(b, 0.5f), 2.0f, -0.5f, -1.5f);
    expectVector(a.addScaled(b, 0.0f), 1.0f, -2.0f, 0.5f);
    expectVector(a.add(b), 3.0f, 1.0f, -3.5f);
    expectVector(a.scale(-2.0f), -2.0f, 4.0f, -1.0f);
    expectVector(a.copy(), 1.0f, -2.0f, 0.5f);
    expectVector(a, 1.0f, -2.0f, 0.5f);
}

TEST(Vector3, CrossIsRightHandedReceiverTimesArgument)
{
    const Vector3 x(1.0f, 0.0f, 0.0f);
    const Vector3 y(0.0f, 1.0f, 0.0f);
    expectVector(x.cross(y), 0.0f, 0.0f, 1.0f);
    expectVector(y.cross(x), 0.0f, 0.0f, -1.0f);
    // a camera looking along -z with y up has +x to its right
    expectVector(Vector3(0.0f, 0.0f, -1.0f).cross(y), 1.0f, 0.0f, 0.0f);
}

TEST(Vector3, DotAndLengths)
{
    const Vector3 v(3.0f, 0.0f, 4.0f);
    EXPECT_FLOAT_EQ(v.dot(Vector3(1.0f, 5.0f, 2.0f)), 11.0f);
    EXPECT_FLOAT_EQ(v.lengthSquared(), 25.0f);
    EXPECT_FLOAT_EQ(v.length(), 5.0f);
}

TEST(Vector3, NormaliseMultipliesByOneReciprocalAndLeavesZeroAlone)
{
    Vector3 v(3.0f, 0.0f, 4.0f);
    v.normalise();
    const float factor = 1.0f / 5.0f;
    EXPECT_EQ(v.getX(), 3.0f * factor);
    EXPECT_EQ(v.getY(), 0.0f);
    EXPECT_EQ(v.getZ(), 4.0f * factor);

    Vector3 zero;
    zero.normalise();
    expectVector(zero, 0.0f, 0.0f, 0.0f);
}

TEST(Vector3, EqualsIsStrictPerComponent)
{
    const Vector3 origin;
    EXPECT_FALSE(origin.equals(Vector3(0.5f, 0.0f, 0.0f), 0.5f));
    EXPECT_TRUE(origin.equals(Vector3(0.5f, 0.0f, 0.0f), 0.6f));
    EXPECT_FALSE(origin.equals(Vector3(0.0f, 0.0f, 0.7f), 0.6f));
    EXPECT_FALSE(origin.equals(origin, 0.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(origin.equals(Vector3(0.0f, nan, 0.0f), 1.0f));
}

TEST(Vector3, InPlaceOperationsReturnTheReceiverForChaining)
{
    Vector3 v;
    Vector3& chained = v.set(1.0f, 1.0f, 1.0f).setX(2.0f).setY(3.0f).setZ(4.0f);
    EXPECT_EQ(&chained, &v);
    EXPECT_EQ(&v.addInPlace(Vector3(1.0f, 1.0f, 1.0f)), &v);
    expectVector(v, 3.0f, 4.0f, 5.0f);
    EXPECT_EQ(&v.subtractInPlace(Vector3(3.0f, 0.0f, 1.0f)), &v);
    expectVector(v, 0.0f, 4.0f, 4.0f);
    EXPECT_EQ(&v.normalise(), &v);
}

} // namespace
