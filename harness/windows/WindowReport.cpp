// windowreport: what Windows itself says of a top-level window, for the
// tests that run the Windows program under Wine: its class, title, outer
// and client size, and the text of its child windows (a message box's
// message and button).
//   windowreport.exe TITLE
// Prints "name value" lines; exits 1 when no top-level window has the title.
#include <windows.h>

#include <cstdio>

namespace {
constexpr int textLimit = 512; // characters read of a title, a class or a control's text

BOOL CALLBACK printText(HWND child, LPARAM)
{
    char text[textLimit] = {};
    if (GetWindowTextA(child, text, textLimit) > 0) {
        std::printf("text %s\n", text);
    }
    return TRUE;
}
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowreport TITLE\n");
        return 2;
    }
    const HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr) {
        std::fprintf(stderr, "windowreport: no top-level window titled \"%s\"\n", argv[1]);
        return 1;
    }
    char className[textLimit] = {};
    char title[textLimit] = {};
    GetClassNameA(window, className, textLimit);
    GetWindowTextA(window, title, textLimit);
    RECT outer = {};
    RECT client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::printf("class %s\ntitle %s\nouter %ld %ld\nclient %ld %ld\n", className, title,
                outer.right - outer.left, outer.bottom - outer.top, client.right, client.bottom);
    EnumChildWindows(window, printText, 0);
    return 0;
}
