#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "mapdata/File.h"

namespace stonereach {

// Where the bytes of a map's plain form (the .mul layout: blocks column by
// column from offset 0) lie in its file. A .mul holds them in one piece at
// the same offsets, as long as the file is; a UOP container holds them in
// pieces, one per entry payload, in any order in the file. Every reader and
// writer of map cells and blocks addresses the plain form and comes through
// here, so only this knows where a byte really is.
class MapExtents {
public:
    // One piece: plain-form bytes [plainOffset, plainOffset + length) lie at
    // fileOffset.
    struct Extent {
        std::uint64_t plainOffset = 0;
        std::uint64_t fileOffset = 0;
        std::uint64_t length = 0;
        friend bool operator==(const Extent&, const Extent&) = default;
    };

    // The plain form is the whole file.
    MapExtents() = default;
    // The plain form is these pieces, given in plain-form order, each one
    // starting where the one before ends (the first at 0).
    explicit MapExtents(std::vector<Extent> pieces);

    bool isWholeFile() const { return !pieced_; }
    const std::vector<Extent>& pieces() const { return pieces_; }
    // Bytes of the plain form that the pieces hold (for pieces only).
    std::uint64_t piecesLength() const { return pieces_.empty() ? 0 : pieces_.back().plainOffset + pieces_.back().length; }

    // Calls part(fileOffset, at, count) for each stretch of plain-form bytes
    // [offset, offset + length) that lies in one piece, in order; `at` counts
    // from offset. A run that crosses from one piece into the next is split
    // there and nowhere else. Bytes past the pieces are not visited: callers
    // check the run against plainLength first.
    template <class Part>
    void split(std::uint64_t offset, std::uint64_t length, Part&& part) const {
        if (!pieced_) {
            part(offset, std::uint64_t{0}, length);
            return;
        }
        auto it = std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                                   [](std::uint64_t o, const Extent& e) { return o < e.plainOffset; });
        if (it == pieces_.begin())
            return;
        --it;
        std::uint64_t done = 0;
        for (; it != pieces_.end() && done < length; ++it) {
            const std::uint64_t from = offset + done - it->plainOffset;
            if (from >= it->length)
                continue;
            const std::uint64_t count = std::min(length - done, it->length - from);
            part(it->fileOffset + from, done, count);
            done += count;
        }
    }

private:
    std::vector<Extent> pieces_;
    bool pieced_ = false;
};

// Length of the plain form: the file's size, or what the pieces hold.
std::uint64_t plainMapLength(const ByteSource& file, const MapExtents& extents);

// Reads plain-form bytes; IoError naming the file when the map ends before
// all of them.
void readMapBytes(const ByteSource& file, const MapExtents& extents, std::uint64_t offset, std::span<std::uint8_t> out);
// Reads what there is of plain-form bytes; returns the count.
std::size_t readMapBytesUpTo(const ByteSource& file, const MapExtents& extents, std::uint64_t offset,
                             std::span<std::uint8_t> out);

// Writes plain-form bytes, so that a failure never leaves a cell or a block
// header part old and part new:
// - a write that would lengthen a whole-file map first takes the space for
//   its new length; when that fails the file keeps its length and nothing is
//   written (a full disk or a file size limit shows here);
// - when a write stops part-way, the rest of the block it stopped in is
//   written before the error goes on (within the bytes asked for), so every
//   cell and header is wholly old or wholly new.
// A container's pieces are never written past: that is an IoError and
// nothing is written.
void writeMapBytes(File& file, const MapExtents& extents, std::uint64_t offset, std::span<const std::uint8_t> data);

// Makes the plain form at least `length` bytes long before a run of writes:
// a whole-file map is lengthened with its space taken now (kept as it was
// when that fails); a container's pieces cannot grow, so a shorter one is an
// IoError.
void reserveMapBytes(File& file, const MapExtents& extents, std::uint64_t length);

} // namespace stonereach
