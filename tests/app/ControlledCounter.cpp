#include "tests/app/ControlledCounter.h"

#include "platform/Platform.h"

namespace {
int64_t frequencyValue = 0;
int64_t countValue = 0;
}

void controlledCounter::setFrequency(int64_t ticksPerSecond)
{
    frequencyValue = ticksPerSecond;
}

void controlledCounter::setCount(int64_t ticks)
{
    countValue = ticks;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = frequencyValue;
    return frequencyValue != 0;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count)
{
    count->QuadPart = countValue;
    return TRUE;
}
