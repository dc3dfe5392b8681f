#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace stonereach {

// Asks the system to back a freshly allocated range with memory at once,
// in one call, instead of one page fault per page at first touch. On some
// virtual machines a page fault costs tens of microseconds, so filling a
// multi-megabyte table page by page can cost more than the disk reads around
// it. A hint only: nothing happens where the system does not support it.
void populateMemory(void* data, std::size_t bytes) noexcept;

// The size of a large page. Memory that a walk reads all over at random
// costs far fewer page faults to set up and far fewer misses of the
// processor's address cache when the system backs it with large pages.
inline constexpr std::size_t HugePageBytes = std::size_t{2} << 20;

// From this size on, a buffer or table gets whole large pages of its own.
// On some virtual machines the first touch of each small page costs a few
// microseconds even once populateMemory has set it up: a fresh megabyte of
// small pages cost 1.5 ms there, more than reading a megabyte from the file
// cache, against 0.1 ms for large pages. Rounding up to whole large pages
// costs a buffer up to almost one more (about a megabyte for the megabyte
// buffers of the whole-file tools, which keep a few bytes of slack).
inline constexpr std::size_t LargePagesFrom = std::size_t{512} << 10;

// At least `bytes` of memory, aligned to HugePageBytes and rounded up to
// whole large pages, backed by them where the system can and populated at
// once. Throws std::bad_alloc; freed with freeLargePages.
void* allocateLargePages(std::size_t bytes);
void freeLargePages(void* data) noexcept;

// The allocator of tables that grow large (an index of every block of a
// map, say): from LargePagesFrom on, whole large pages; below it, the
// general allocator.
template <class T>
struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <class U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        return static_cast<T*>(bytes < LargePagesFrom ? ::operator new(bytes) : allocateLargePages(bytes));
    }
    void deallocate(T* data, std::size_t n) noexcept {
        if (n * sizeof(T) < LargePagesFrom)
            ::operator delete(data);
        else
            freeLargePages(data);
    }

    template <class U>
    bool operator==(const LargePageAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using LargeTable = std::vector<T, LargePageAllocator<T>>;

} // namespace stonereach
