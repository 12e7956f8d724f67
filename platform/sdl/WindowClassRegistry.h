// The registered window classes, by name. What CreateWindowExA needs of a
// class is its window procedure.
#pragma once

#include "platform/Platform.h"

#include <map>
#include <string>

class WindowClassRegistry {
public:
    static WindowClassRegistry& instance();

    // 0 for a record of the wrong size, without a name or a procedure, or
    // for a name already registered
    ATOM add(const WNDCLASSEXA* windowClass);
    // the class's procedure, by name ignoring case as Windows does; null
    // when unknown or when named by atom, which the program never does
    WNDPROC find(LPCSTR name) const;

private:
    static std::string keyOf(LPCSTR name);

    std::map<std::string, WNDPROC> procedures;
    ATOM nextAtom = 0xC000; // where Windows numbers registered classes from
};
