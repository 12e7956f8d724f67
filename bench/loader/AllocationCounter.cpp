#include "bench/loader/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
// Each block carries its size in front of it, kept at the alignment
// operator new promises, so that unsized deletes are counted too.
constexpr size_t headerBytes = alignof(std::max_align_t);

std::atomic<size_t> live{0};
std::atomic<size_t> peak{0};

void* allocate(size_t bytes)
{
    void* block = std::malloc(bytes + headerBytes);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<size_t*>(block) = bytes;
    const size_t now = live.fetch_add(bytes) + bytes;
    size_t highest = peak.load();
    while (now > highest && !peak.compare_exchange_weak(highest, now)) {
    }
    return static_cast<char*>(block) + headerBytes;
}

void release(void* memory)
{
    if (memory == nullptr) {
        return;
    }
    void* block = static_cast<char*>(memory) - headerBytes;
    live.fetch_sub(*static_cast<size_t*>(block));
    std::free(block);
}
}

size_t liveHeapBytes()
{
    return live.load();
}

size_t heapPeakBytes()
{
    return peak.load();
}

void resetHeapPeak()
{
    peak.store(live.load());
}

void* operator new(size_t bytes)
{
    return allocate(bytes);
}

void* operator new[](size_t bytes)
{
    return allocate(bytes);
}

void* operator new(size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return allocate(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return allocate(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* memory) noexcept
{
    release(memory);
}

void operator delete[](void* memory) noexcept
{
    release(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    release(memory);
}

void operator delete[](void* memory, size_t) noexcept
{
    release(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    release(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    release(memory);
}
