// A performance counter the timer tests set by hand.
#pragma once

#include <cstdint>

namespace controlledCounter {
void setFrequency(int64_t ticksPerSecond);
void setCount(int64_t ticks);
}
