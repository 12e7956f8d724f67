// Shows one message box, text then caption from the command line, and exits
// with MessageBoxA's answer, so a test can watch it block and be closed.
#include "platform/Platform.h"

int main(int argc, char** argv)
{
    return MessageBoxA(nullptr, argc > 1 ? argv[1] : "", argc > 2 ? argv[2] : nullptr, MB_OK);
}
