// The arrays a model keeps its corners in: vectors whose new elements are
// left unset until written, since the loader writes every one before it is
// read and zeroing a hundred megabytes first costs about as much as filling
// them, and whose buffers of megabytes ask for huge pages before they are
// first touched, which takes most of the page faults out of filling them.
#pragma once

#include "platform/PageAdvice.h"

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <typename T>
struct ModelArrayAllocator {
    using value_type = T;

    // buffers this large are worth huge pages (bytes)
    static constexpr std::size_t hugePageWorthy = std::size_t(2) << 20;

    ModelArrayAllocator() = default;
    template <typename U>
    ModelArrayAllocator(const ModelArrayAllocator<U>&)
    {
    }

    T* allocate(std::size_t count)
    {
        T* buffer = std::allocator<T>().allocate(count);
        if (count * sizeof(T) >= hugePageWorthy) {
            adviseHugePages(buffer, count * sizeof(T));
        }
        return buffer;
    }
    void deallocate(T* buffer, std::size_t count) { std::allocator<T>().deallocate(buffer, count); }

    // an element made without a value is left unset
    template <typename U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }

    friend bool operator==(const ModelArrayAllocator&, const ModelArrayAllocator&) { return true; }
    friend bool operator!=(const ModelArrayAllocator&, const ModelArrayAllocator&) { return false; }
};

template <typename T>
using ModelArray = std::vector<T, ModelArrayAllocator<T>>;
