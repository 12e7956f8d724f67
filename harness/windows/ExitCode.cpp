// exitcode: runs a Windows program, waits for it, and writes the exit code
// Windows gives it to a file, for the tests that run the Windows program
// under Wine. The status of Wine's Unix process is not always the
// program's: once a program has ended, Wine's server kills its process if
// the libraries in it take over a second to unload (Mesa's and apitrace's
// can, on a busy machine), and the status then reads as SIGKILL whatever
// the program returned. This process loads none of them.
//   exitcode.exe FILE PROGRAM [ARGUMENT...]
// The program gets this process's working folder, show state and standard
// handles. Exits with the program's code too, or 255 when it cannot start.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {
constexpr int cannotStart = 255;

// One argument as the C runtime parses it back: in quotes, with each
// quote and the backslashes before it escaped.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring text = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L'"';
}
}

int main()
{
    int count = 0;
    wchar_t** const arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 3) {
        std::fprintf(stderr, "usage: exitcode FILE PROGRAM [ARGUMENT...]\n");
        return cannotStart;
    }
    std::wstring commandLine = quoted(arguments[2]);
    for (int i = 3; i < count; ++i) {
        commandLine += L' ' + quoted(arguments[i]);
    }
    STARTUPINFOW startup = {};
    GetStartupInfoW(&startup);
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(arguments[2], &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "exitcode: cannot start %ls (error %lu)\n", arguments[2], GetLastError());
        return cannotStart;
    }
    DWORD code = cannotStart;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &code)) {
        std::fprintf(stderr, "exitcode: lost %ls (error %lu)\n", arguments[2], GetLastError());
        return cannotStart;
    }
    if (FILE* const file = _wfopen(arguments[1], L"w")) {
        std::fprintf(file, "%lu\n", code);
        std::fclose(file);
    }
    return static_cast<int>(code);
}
