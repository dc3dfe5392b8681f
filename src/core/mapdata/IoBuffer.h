#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "mapdata/MemoryPopulation.h"

namespace stonereach {

// Memory that large reads and writes of a file go through, starting on a
// page boundary. The kernel copies between the file cache and such a buffer
// much faster (a whole-map copy here took a third less time) than to or from
// one that starts a few bytes into a page, which is where the general
// allocator puts large blocks, behind a header of its own.
inline constexpr std::size_t IoBufferAlignment = 4096;

// Smaller buffers are not worth aligning: their copies are short, and an
// aligned block costs the allocator more (under AddressSanitizer, much more).
inline constexpr std::size_t IoBufferAlignedFrom = std::size_t{64} << 10;

struct IoBufferDelete {
    std::size_t alignment = 0;  // 0: allocated without alignment
    void operator()(std::uint8_t* bytes) const noexcept {
        if (alignment == 0)
            ::operator delete[](bytes);
        else
            ::operator delete[](bytes, std::align_val_t{alignment});
    }
};

using IoBuffer = std::unique_ptr<std::uint8_t[], IoBufferDelete>;

// A buffer of `bytes`, left uninitialised: only bytes read or set are used.
// `alignment`, a power of two of at least a page, may ask for more; from
// HugePageBytes on, the buffer is backed by large pages where the system
// can. A large buffer is populated at once: it is about to be filled, and
// one call costs far less than a page fault per page.
inline IoBuffer makeIoBuffer(std::size_t bytes, std::size_t alignment = IoBufferAlignment) {
    if (bytes < IoBufferAlignedFrom)
        return IoBuffer(static_cast<std::uint8_t*>(::operator new[](bytes)), IoBufferDelete{0});
    IoBuffer buffer(static_cast<std::uint8_t*>(::operator new[](bytes, std::align_val_t{alignment})),
                    IoBufferDelete{alignment});
    if (alignment >= HugePageBytes)
        adviseHugePages(buffer.get(), bytes);
    populateMemory(buffer.get(), bytes);
    return buffer;
}

} // namespace stonereach
