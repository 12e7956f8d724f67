// Linux's transparent huge pages, which a program asks for with madvise
// where the system leaves them to it.
#include "platform/PageAdvice.h"

#include <sys/mman.h>

#include <cstdint>

namespace {
constexpr std::uintptr_t hugePageBytes = std::uintptr_t(2) << 20;
}

void adviseHugePages(void* first, std::size_t bytes)
{
    const std::uintptr_t start =
        (reinterpret_cast<std::uintptr_t>(first) + hugePageBytes - 1) & ~(hugePageBytes - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(first) + bytes) & ~(hugePageBytes - 1);
    if (end > start) {
        // advice only: where it is not taken, the pages are ordinary ones
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
}
