#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
    enum class Kind { General, Aligned, LargePages };
    Kind kind = Kind::General;
    void operator()(std::uint8_t* bytes) const noexcept {
        switch (kind) {
        case Kind::General: ::operator delete(bytes); break;
        case Kind::Aligned: ::operator delete(bytes, std::align_val_t{IoBufferAlignment}); break;
        case Kind::LargePages: freeLargePages(bytes); break;
        }
    }
};

using IoBuffer = std::unique_ptr<std::uint8_t[], IoBufferDelete>;

// A buffer of `bytes`, left uninitialised: only bytes read or set are used.
// From LargePagesFrom on it has large pages of its own; a buffer of a
// quarter of a megabyte or more is populated at once (it is about to be
// filled, and one call costs far less than a page fault per page).
inline IoBuffer makeIoBuffer(std::size_t bytes) {
    using Kind = IoBufferDelete::Kind;
    if (bytes < IoBufferAlignedFrom)
        return IoBuffer(static_cast<std::uint8_t*>(::operator new(bytes)), IoBufferDelete{Kind::General});
    if (bytes >= LargePagesFrom)
        return IoBuffer(static_cast<std::uint8_t*>(allocateLargePages(bytes)), IoBufferDelete{Kind::LargePages});
    IoBuffer buffer(static_cast<std::uint8_t*>(::operator new(bytes, std::align_val_t{IoBufferAlignment})),
                    IoBufferDelete{Kind::Aligned});
    populateMemory(buffer.get(), bytes);
    return buffer;
}

// Bytes a buffer keeps past its end for copyInSteps. A copy of a few bytes
// from a random place (the records of one statics block, 7 to a few dozen
// bytes) costs memcpy a guess at the size that is wrong half the time; steps
// of a fixed size cost none, at the price of reading and writing up to this
// many bytes past the ends.
inline constexpr std::size_t CopySlackBytes = 32;

// Copies `size` bytes in steps of CopySlackBytes: `from` must be followed by
// that many readable bytes past `size`, and `to` by that many writable ones
// (whose contents are then undefined).
inline void copyInSteps(std::uint8_t* to, const std::uint8_t* from, std::size_t size) noexcept {
    for (std::size_t done = 0; done < size; done += CopySlackBytes) {
        std::uint8_t step[CopySlackBytes];
        std::memcpy(step, from + done, CopySlackBytes);
        std::memcpy(to + done, step, CopySlackBytes);
    }
}

// A mask of the `count` (0 to 8) bytes of a 64-bit word that come first in
// memory.
constexpr std::uint64_t leadingBytesMask(std::size_t count) noexcept {
    if (count >= sizeof(std::uint64_t))
        return ~std::uint64_t{0};
    if constexpr (std::endian::native == std::endian::little)
        return (std::uint64_t{1} << (8 * count)) - 1;
    else
        return ~(~std::uint64_t{0} >> (8 * count));
}

// Whether the `size` bytes at `a` and at `b` are the same, compared in steps
// of CopySlackBytes: both must be followed by that many readable bytes
// (whatever they hold), as for copyInSteps. The bytes of a step past `size`
// are masked out rather than branched around.
inline bool equalInSteps(const std::uint8_t* a, const std::uint8_t* b, std::size_t size) noexcept {
    constexpr std::size_t W = sizeof(std::uint64_t);
    for (std::size_t done = 0; done < size; done += CopySlackBytes) {
        const std::size_t left = size - done;
        std::uint64_t differ = 0;
        for (std::size_t w = 0; w < CopySlackBytes; w += W) {
            std::uint64_t x;
            std::uint64_t y;
            std::memcpy(&x, a + done + w, W);
            std::memcpy(&y, b + done + w, W);
            differ |= (x ^ y) & leadingBytesMask(left > w ? left - w : 0);
        }
        if (differ != 0)
            return false;
    }
    return true;
}

} // namespace stonereach
