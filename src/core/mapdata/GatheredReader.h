#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/File.h"

namespace stonereach {

// The memory that the readers of one walk may load at a time, shared among
// them. Once a request finds too little left, the budget says so until it is
// reset, so the walk can end its stretch there.
class GatherBudget {
public:
    explicit GatherBudget(std::size_t bytes) : total_(bytes), left_(bytes) {}
    std::size_t total() const { return total_; }
    bool take(std::size_t bytes) {
        if (bytes > left_) {
            exceeded_ = true;
            return false;
        }
        left_ -= bytes;
        return true;
    }
    void giveBack(std::size_t bytes) { left_ += bytes; }
    bool exceeded() const { return exceeded_; }
    void resetExceeded() { exceeded_ = false; }

private:
    std::size_t total_;
    std::size_t left_;
    bool exceeded_ = false;
};

// How far a walk over ranges of a file, in the order it asks for them, is
// from the file's own order: how many of them do not follow on from the one
// before as a read-ahead window reads them (each such jump costs the window a
// read of its own).
class RangeOrder {
public:
    void add(std::uint64_t offset, std::uint64_t size) {
        if (size == 0)
            return;
        if (offset < end_ || offset - end_ > StreamBufferBytes / 4)
            ++jumps_;
        end_ = offset + size;
        bytes_ += size;
        ++ranges_;
    }

    // How many ranges there are, and how many bytes they hold.
    std::uint64_t ranges() const { return ranges_; }
    std::uint64_t bytes() const { return bytes_; }

    // Gathering the ranges costs a copy of them through memory, the window a
    // read for every jump, which costs about as much as copying JumpBytes.
    bool worthGathering() const { return jumps_ * JumpBytes > bytes_; }

    static constexpr std::uint64_t JumpBytes = std::uint64_t{16} << 10;

private:
    std::uint64_t end_ = 0;
    std::uint64_t jumps_ = 0;
    std::uint64_t bytes_ = 0;
    std::uint64_t ranges_ = 0;
};

// Reads ranges of a file for a walk that knows ahead which ranges it will ask
// for, whatever order they lie in the file: records of neighbouring blocks
// that an editing tool left scattered over the file, say. The walk announces
// the ranges of a stretch of its work in the order it will ask for them
// (want); load() reads them in file order, in a few large reads, and lays
// them out in memory one after another in the walk's order; view() then
// serves each in turn from there. Asked for one at a time in the walk's
// order, the same ranges would cost a small read each; and read from a copy
// of the file kept in its own order, each would cost a trip to main memory,
// as the processor cannot foresee where the next one lies. Laid out in the
// walk's order, ranges asked for one after another lie one after another.
//
// A range asked for out of turn, or that the file no longer held when it was
// loaded, or that the budget had no room for, is read through a read-ahead
// window, as ReadAheadReader reads it (and fails as it does). A walk whose
// ranges come in file order anyway is served best by the window alone: it
// reads as little, and needs no memory. A reader made not to gather (see
// RangeOrder) ignores announcements and leaves everything to the window.
class GatheredReader {
public:
    // The bytes one announcement costs the budget besides its range's own
    // (its entries in the two tables).
    static constexpr std::size_t AnnouncementBytes = 20;

    // `mostRanges`: how many ranges a stretch announces at most, so that
    // the tables are set up once at their size rather than grown.
    GatheredReader(const File& file, GatherBudget& budget, bool gather, std::size_t mostRanges);

    // Whether the reader gathers ranges into memory, or leaves them all to
    // the window.
    bool gathers() const { return gather_; }

    // Announces that [offset, offset + size) will be asked for after the
    // next load(), after the ranges announced before it. Ranges the budget
    // has no room for, and ranges past the file's end (or past 4 GB), are
    // left to the window.
    void want(std::uint64_t offset, std::uint32_t size) {
        if (size == 0 || !gather_ || offset + size > fileEnd_ || packedEnd_ > UINT32_MAX - size ||
            !budget_.take(size + AnnouncementBytes))
            return;
        if (wants_.size() == wants_.capacity())
            growTables();
        wants_.push_back(Want{static_cast<std::uint32_t>(offset), size});
        ++bucketCounts_[bucketOf(wants_.back().offset)];
        packedEnd_ += size;
    }

    // A point to go back to with forget(), before load(): the announcements
    // made after it are dropped (a stretch that turned out too large for its
    // budget).
    std::size_t announcements() const { return wants_.size(); }
    void forget(std::size_t announcementsBefore);
    // Drops every announcement and what was loaded; call before announcing
    // the next stretch.
    void clear();

    // Reads every announced range, in file order.
    void load();

    // The `size` bytes at offset: from memory when they are the next range
    // announced, otherwise through the window. Valid until the next stretch
    // (see holds), or, from the window, until the reader is used again (and
    // then at most the window's size). IoError when the file ends before
    // them.
    std::span<const std::uint8_t> view(std::uint64_t offset, std::size_t size) {
        // Inline for the gathered case, as walks ask for every block.
        if (next_ < loadedCount_ && wants_[next_].offset == offset && wants_[next_].size == size) {
            ++next_;
            nextAt_ += static_cast<std::uint32_t>(size);  // equals the want's 32-bit size
            return {memory_.get() + (nextAt_ - size), size};
        }
        return window_.view(offset, size);
    }

    // Whether bytes that view() gave lie in the gathered memory, and so stay
    // valid until the next stretch.
    bool holds(std::span<const std::uint8_t> bytes) const {
        return memory_ && bytes.data() >= memory_.get() && bytes.data() + bytes.size() <= memory_.get() + packedEnd_;
    }

    // Appends the `length` bytes at offset to `out` through the window; for
    // a reader that does not gather.
    void appendTo(AppendWriter& out, std::uint64_t offset, std::uint64_t length) {
        out.appendFrom(window_, offset, length);
    }

private:
    struct Want {
        std::uint32_t offset;
        std::uint32_t size;
    };
    struct Placed {
        std::uint32_t offset;
        std::uint32_t size;
        std::uint32_t packedAt;  // where it lies in memory_
    };
    // Ranges are put in file order by the bucket of the file they start in.
    static constexpr std::size_t BucketBytes = std::size_t{64} << 10;
    static constexpr std::uint64_t LargestFile = UINT32_MAX;  // offsets are 32 bits

    static std::size_t bucketOf(std::uint32_t offset) { return offset / BucketBytes; }
    void growTables();
    void placeInFileOrder();
    bool readInFileOrder();

    const File& file_;
    GatherBudget& budget_;
    ReadAheadReader window_;
    bool gather_;
    std::size_t mostRanges_;
    std::uint64_t fileEnd_ = 0;  // the file's length when the walk began, at most 4 GB
    // The announced ranges in the walk's order, and how far they fill memory.
    std::vector<Want> wants_;
    std::uint32_t packedEnd_ = 0;
    // How many were loaded, the next one view() expects and where it lies.
    std::size_t loadedCount_ = 0;
    std::size_t next_ = 0;
    std::uint32_t nextAt_ = 0;
    // Left uninitialised: only bytes read from the file are ever used.
    std::unique_ptr<std::uint8_t[]> memory_;
    std::size_t capacity_ = 0;
    // The announced ranges in file order with their places in memory, how
    // many start in each bucket of the file, and the buffer they are read
    // through.
    std::vector<Placed> placed_;
    std::vector<std::uint32_t> bucketCounts_;
    std::unique_ptr<std::uint8_t[]> staging_;
};

} // namespace stonereach
