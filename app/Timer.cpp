#include "app/Timer.h"

bool Timer::initialize()
{
    QueryPerformanceFrequency(&frequency);
    if (frequency.QuadPart == 0) {
        return false;
    }
    frequencyFloat = static_cast<float>(frequency.QuadPart);
    QueryPerformanceCounter(&lastTime);
    return true;
}

void Timer::frame()
{
    LARGE_INTEGER currentTime;
    QueryPerformanceCounter(&currentTime);
    const float elapsedTicks = static_cast<float>(currentTime.QuadPart - lastTime.QuadPart);
    // Without a counter there is no frequency: motion stands still rather
    // than being scaled by a division by zero.
    frameTime = frequencyFloat != 0.0f ? elapsedTicks / frequencyFloat : 0.0f;
    lastTime = currentTime;
}
