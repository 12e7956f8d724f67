// The registered window classes, by name. A class here is what CreateWindowExA
// needs of it: the window procedure and the style.
#pragma once

#include "platform/Platform.h"

#include <map>
#include <string>

class WindowClassRegistry {
  public:
    struct Entry {
        ATOM atom = 0;
        WNDPROC procedure = nullptr;
        UINT style = 0;
    };

    static WindowClassRegistry& instance();

    // 0 for a record of the wrong size, without a name or a procedure, or
    // for a name already registered
    ATOM add(const WNDCLASSEXA* windowClass);
    // by name (as Windows, ignoring case) or by atom (MAKEINTATOM); null when
    // unknown
    const Entry* find(LPCSTR name) const;

  private:
    static std::string keyOf(LPCSTR name);

    std::map<std::string, Entry> classes;
    ATOM nextAtom = 0xC000; // where Windows numbers registered classes from
};
