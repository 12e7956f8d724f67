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
    Entry entry;
    entry.atom = nextAtom;
    entry.procedure = windowClass->lpfnWndProc;
    entry.style = windowClass->style;
    // ERROR_CLASS_ALREADY_EXISTS on Windows.
    if (!classes.emplace(keyOf(windowClass->lpszClassName), entry).second) {
        return 0;
    }
    ++nextAtom;
    return entry.atom;
}

const WindowClassRegistry::Entry* WindowClassRegistry::find(LPCSTR name) const
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(name);
    if (value < atomLimit) {
        for (const auto& named : classes) {
            if (named.second.atom == value) {
                return &named.second;
            }
        }
        return nullptr;
    }
    const auto found = classes.find(keyOf(name));
    return found == classes.end() ? nullptr : &found->second;
}
