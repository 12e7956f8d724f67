// The process entry off Windows: hands over to WinMain with the arguments the
// Windows runtime gives it, and returns its result as the exit status.
#include "platform/Platform.h"

#include <string>

namespace {
// The address of a static stands in for the module's instance handle: unique
// and never null.
char moduleInstance;
}

int main(int argc, char** argv)
{
    // As on Windows, the command line excludes the program's own name.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            commandLine += ' ';
        }
        commandLine += argv[i];
    }
    return WinMain(reinterpret_cast<HINSTANCE>(&moduleInstance), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
