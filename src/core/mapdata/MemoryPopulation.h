#pragma once

#include <cstddef>

namespace stonereach {

// Asks the system to back a freshly allocated range with memory at once,
// in one call, instead of one page fault per page at first touch. On some
// virtual machines a page fault costs tens of microseconds, so filling a
// multi-megabyte table page by page can cost more than the disk reads around
// it. A hint only: nothing happens where the system does not support it.
void populateMemory(void* data, std::size_t bytes) noexcept;

// Large pages: memory that a walk reads all over at random, aligned to
// HugePageBytes, costs far fewer page faults to set up and far fewer misses
// of the processor's address cache when the system backs it with large
// pages. A hint only, like populateMemory; call it first.
inline constexpr std::size_t HugePageBytes = std::size_t{2} << 20;
void adviseHugePages(void* data, std::size_t bytes) noexcept;

// Reserves room for `count` elements and populates it before first use.
template <class Vector>
void reservePopulated(Vector& vector, std::size_t count) {
    vector.reserve(count);
    populateMemory(vector.data(), count * sizeof(typename Vector::value_type));
}

} // namespace stonereach
