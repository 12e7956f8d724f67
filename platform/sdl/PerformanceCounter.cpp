// The high-resolution counter, from the system's monotonic clock. In a file
// of its own so a test can link a counter it controls instead.
#include "platform/Platform.h"

#include <time.h>

namespace {
constexpr int64_t nanosecondsPerSecond = 1000000000;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = nanosecondsPerSecond;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    count->QuadPart = static_cast<int64_t>(now.tv_sec) * nanosecondsPerSecond + now.tv_nsec;
    return TRUE;
}
