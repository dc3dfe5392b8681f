#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace stonereach {

// Bytes that can be read at any position: an open file, the plain form of a
// map wherever its file keeps it, or bytes in memory (which lets the format
// readers be driven at full speed by fuzz programs).
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads exactly buffer.size() bytes at offset; IoError when the source
    // ends before that.
    virtual void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const = 0;
    // Reads up to buffer.size() bytes at offset; returns how many were there.
    virtual std::size_t readUpTo(std::uint64_t offset, std::span<std::uint8_t> buffer) const = 0;
    virtual std::uint64_t size() const = 0;
    // What errors name: the file's path.
    virtual std::string sourceName() const = 0;
};

// Bytes held by the caller, read as if they were a file of that name.
class MemoryByteSource final : public ByteSource {
public:
    MemoryByteSource(std::span<const std::uint8_t> bytes, std::string name) : bytes_(bytes), name_(std::move(name)) {}

    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    std::size_t readUpTo(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    std::uint64_t size() const override { return bytes_.size(); }
    std::string sourceName() const override { return name_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::string name_;
};

} // namespace stonereach
