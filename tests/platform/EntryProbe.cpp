// A program with a WinMain of its own, run by the process entry's test: it
// prints what the entry handed over and returns the number that starts its
// command line.
#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showMode)
{
    std::printf("instance %s, previous %s, show %d, command line [%s]\n",
                instance != nullptr ? "set" : "null", previousInstance != nullptr ? "set" : "null", showMode,
                commandLine);
    return std::atoi(commandLine);
}
