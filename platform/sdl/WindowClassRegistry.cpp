#include "platform/sdl/WindowClassRegistry.h"

#include <cctype>

namespace {
constexpr uintptr_t atomLimit = 0x10000; // a "name" below this is MAKEINTATOM
}

WindowClassRegistry& WindowClassRegistry::instance()
{
    static WindowClassRegistry registry;
    return registry;
}

std::string WindowClassRegistry::keyOf(LPCSTR name)
{
    std::string key(name);
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

ATOM WindowClassRegistry::add(const WNDCLASSEXA* windowClass)
{
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
        reinterpret_cast<uintptr_t>(windowClass->lpszClassName) < atomLimit ||
        windowClass->lpszClassName[0] == '\0') {
        return 0;
    }
    // ERROR_CLASS_ALREADY_EXISTS on Windows.
    if (!procedures.emplace(keyOf(windowClass->lpszClassName), windowClass->lpfnWndProc).second) {
        return 0;
    }
    return nextAtom++;
}

WNDPROC WindowClassRegistry::find(LPCSTR name) const
{
    // A "name" below the limit is an atom; it is never read as a string.
    if (reinterpret_cast<uintptr_t>(name) < atomLimit) {
        return nullptr;
    }
    const auto found = procedures.find(keyOf(name));
    return found == procedures.end() ? nullptr : found->second;
}
