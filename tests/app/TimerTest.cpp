#include "app/Timer.h"

#include "tests/app/ControlledCounter.h"

#include <gtest/gtest.h>

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

TEST(Timer, RoundsTheTickCountToAFloatBeforeDividing)
{
    // 16777217 ticks is the first count a 32-bit float cannot hold: it
    // becomes 16777216 before the division, which double arithmetic would
    // not do.
    Timer timer;
    controlledCounter::setFrequency(tenMegahertz);
    controlledCounter::setCount(0);
    timer.initialize();
    controlledCounter::setCount(16777217);
    timer.frame();
    EXPECT_EQ(timer.getTime(), 16777216.0f / 10000000.0f);
    EXPECT_NE(timer.getTime(), static_cast<float>(16777217.0 / 10000000.0));
}

TEST(Timer, LongPausesAreNotClamped)
{
    Timer timer;
    controlledCounter::setFrequency(tenMegahertz);
    controlledCounter::setCount(0);
    timer.initialize();
    controlledCounter::setCount(tenMegahertz * 90);
    timer.frame();
    EXPECT_EQ(timer.getTime(), 90.0f);
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
}

} // namespace
