#include "mapdata/ByteSource.h"

#include <algorithm>
#include <cstring>

#include "mapdata/Errors.h"

namespace stonereach {

std::size_t MemoryByteSource::readUpTo(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (offset >= bytes_.size() || buffer.empty())
        return 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), bytes_.size() - offset));
    std::memcpy(buffer.data(), bytes_.data() + offset, n);
    return n;
}

void MemoryByteSource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (readUpTo(offset, buffer) != buffer.size())
        throw IoError(name_, "Cannot read " + std::to_string(buffer.size()) + " bytes at offset " +
                                 std::to_string(offset) + ": the file ends before that");
}

} // namespace stonereach
