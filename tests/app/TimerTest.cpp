#include "app/Timer.h"

#include "tests/app/ControlledCounter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int64_t tenMegahertz = 10000000;

TEST(Timer, ReadsZeroBeforeTheFirstFrame)
{
    Timer timer;
    EXPECT_EQ(timer.getTime(), 0.0f);
    controlledCounter::setFrequency(tenMegahertz);
    controlledCounter::setCount(123);
    EXPECT_TRUE(timer.initialize());
    EXPECT_EQ(timer.getTime(), 0.0f);
}

TEST(Timer, FirstFrameMeasuresFromInitialize)
{
    Timer timer;
    controlledCounter::setFrequency(tenMegahertz);
    controlledCounter::setCount(5000000);
    timer.initialize();
    controlledCounter::setCount(5000000 + tenMegahertz / 4);
    timer.frame();
    EXPECT_EQ(timer.getTime(), 0.25f);
}

TEST(Timer, ElapsedEqualToFrequencyIsExactlyOneSecondAndRepeatedCountsGiveZero)
{
    Timer timer;
    controlledCounter::setFrequency(3579545);
    controlledCounter::setCount(1000);
    timer.initialize();
    controlledCounter::setCount(1000 + 3579545);
    timer.frame();
    EXPECT_EQ(timer.getTime(), 1.0f);
    timer.frame();
    EXPECT_EQ(timer.getTime(), 0.0f);
}

TEST(Timer, StaysInSinglePrecisionWithoutClampingLongPauses)
{
    Timer timer;
    // a count that a 32-bit float cannot hold exactly
    const int64_t frequency = 16777217;
    controlledCounter::setFrequency(frequency);
    controlledCounter::setCount(0);
    timer.initialize();
    controlledCounter::setCount(frequency * 90);
    timer.frame();
    const float expected = static_cast<float>(frequency * 90) / static_cast<float>(frequency);
    EXPECT_EQ(timer.getTime(), expected);
    EXPECT_NEAR(timer.getTime(), 90.0f, 1e-4f);
}

TEST(Timer, WithoutACounterFramesLastNoTimeInsteadOfDividingByZero)
{
    Timer timer;
    controlledCounter::setFrequency(0);
    controlledCounter::setCount(42);
    EXPECT_FALSE(timer.initialize());
    controlledCounter::setCount(9000);
    timer.frame();
    EXPECT_EQ(timer.getTime(), 0.0f);
    EXPECT_TRUE(std::isfinite(timer.getTime()));
}

} // namespace
