#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/File.h"

namespace stonereach {

// How far a walk over ranges of a file, in the order it asks for them, is
// from the file's own order: how many of them do not follow on from the one
// before as a read-ahead window reads them (each such jump costs the window a
// read of its own).
class RangeOrder {
public:
    // Without branches: on a file in any order, whether a range jumps is a
    // coin toss, and mispredicted branches took as long as reading the index.
    // A range before the last one's end wraps the unsigned distance round to
    // a huge one, so one comparison covers both directions.
    void add(std::uint64_t offset, std::uint64_t size) {
        const bool counted = size != 0;
        jumps_ += static_cast<std::uint64_t>(counted & (offset - end_ > StreamBufferBytes / 4));
        end_ = counted ? offset + size : end_;
    }

    // Reading a file of `fileBytes` whole costs about a copy of it through
    // memory; the window costs a read for every jump, which costs about as
    // much as copying JumpBytes.
    bool worthReadingWhole(std::uint64_t fileBytes) const { return jumps_ * JumpBytes > fileBytes; }

    static constexpr std::uint64_t JumpBytes = std::uint64_t{16} << 10;

private:
    std::uint64_t end_ = 0;
    std::uint64_t jumps_ = 0;
};

// Reads the records of a file (statics, say) for a walk over its index,
// which asks for them in the index's order. Where they lie in the file in
// that order too, a read-ahead window serves them in large reads with little
// memory. Where they lie anywhere (a tool that edits a file writes a block
// that grew again at its end, and after years of edits neighbouring blocks
// lie far apart), each would cost the window a small read of its own; the
// file is then read whole into memory once, and every record is served from
// there. A walk that knows which records it will ask for next says so with
// prefetch(), so the processor fetches them from memory while the walk works
// on the ones before: without that, each record of a file larger than the
// processor's caches would cost a wait for main memory.
class RecordsReader {
public:
    // Files larger than this are always read through the window: holding a
    // file of gigabytes would take more memory than a careful tool should.
    static constexpr std::uint64_t MostHeldBytes = std::uint64_t{1} << 30;

    // Holds the file in memory when `wholeInMemory` and it is at most
    // MostHeldBytes (or when memory for it cannot be had, not). The file is
    // read at the first request, so a walk that needs none of its records
    // costs nothing.
    RecordsReader(const File& file, bool wholeInMemory);

    // Whether the reader means to serve the records from memory (and does,
    // once asked for the first, unless memory for the file cannot be had).
    bool readsWhole() const { return readsWhole_; }

    // The `size` bytes at offset: from memory when it holds them, otherwise
    // through the window. Bytes from memory stay valid as long as the reader;
    // from the window, until the reader is used again (and then
    // at most the window's size). Either way they are followed by
    // CopySlackBytes readable ones (see copyInSteps). IoError when the file
    // ends before them.
    std::span<const std::uint8_t> view(std::uint64_t offset, std::size_t size) {
        // Inline, as walks ask for every block.
        if (offset <= loaded_ && size <= loaded_ - offset)
            return {memory_.get() + offset, size};
        return viewOtherwise(offset, size);
    }

    // A hint that the bytes at offset will be asked for soon.
    void prefetch(std::uint64_t offset) const noexcept {
        if (offset < loaded_)
            __builtin_prefetch(memory_.get() + offset);
    }

    // Appends the `length` bytes at offset to `out` through the window; for
    // runs of records that follow one another in the file.
    void appendTo(AppendWriter& out, std::uint64_t offset, std::uint64_t length) {
        out.appendFrom(window_, offset, length);
    }

private:
    std::span<const std::uint8_t> viewOtherwise(std::uint64_t offset, std::size_t size);
    void readWhole();

    const File& file_;
    ReadAheadReader window_;
    bool readsWhole_;
    bool read_ = false;  // whether the file was read whole (or tried)
    // Left uninitialised: only bytes read from the file are ever used.
    IoBuffer memory_;
    // How much of the file memory holds: all of it when the walk began, or
    // what was left of a file cut short since its index was looked at.
    std::uint64_t loaded_ = 0;
};

} // namespace stonereach
