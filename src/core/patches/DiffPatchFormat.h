#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "mapdata/File.h"
#include "mapdata/IoBuffer.h"
#include "mapdata/MapFile.h"
#include "mapdata/Progress.h"
#include "mapdata/RecordsReader.h"

namespace stonereach {

// The block grid a diff patch covers. Patches always use 768 x 512 blocks
// (6144 x 4096 cells) whatever the files' actual sizes; the grid is a
// parameter only so tests and fuzzing can work on small file sets.
struct DiffGrid {
    int blocksAcross = 768;
    int blocksDown = 512;

    std::size_t blockCount() const {
        return static_cast<std::size_t>(blocksAcross) * static_cast<std::size_t>(blocksDown);
    }
    // The map checksum leaves out the last block column.
    std::size_t checksummedMapBlocks() const {
        return static_cast<std::size_t>(blocksAcross - 1) * static_cast<std::size_t>(blocksDown);
    }
};

// Byte layout of the patch file (.bsr, version 3) and of the statics files.
namespace DiffPatchLayout {
inline constexpr std::size_t MagicSize = 14;  // "QTPatch" in UTF-16LE, no terminator
inline constexpr std::size_t VersionOffset = 14;
inline constexpr std::size_t StaticsIndexOffsetOffset = 18;
inline constexpr std::size_t OrigStaIdxCrcOffset = 22;
inline constexpr std::size_t OrigStaticsSizeOffset = 26;
inline constexpr std::size_t ModStaIdxCrcOffset = 30;
inline constexpr std::size_t ModStaticsSizeOffset = 34;
inline constexpr std::size_t MapIndexOffsetOffset = 38;
inline constexpr std::size_t ModMapCrcOffset = 42;
inline constexpr std::size_t ReservedOffset = 46;
inline constexpr std::size_t ReservedSize = 985;
inline constexpr std::size_t HeaderSize = ReservedOffset + ReservedSize;
static_assert(HeaderSize == 1031, "the patch header (TSRDInfo) is 1031 bytes, not 1024");

inline constexpr std::int32_t Version = 3;
inline constexpr std::int32_t NoSection = -1;

inline constexpr std::size_t StaticRecordSize = 7;  // TStaticRec, opaque here
inline constexpr std::size_t MaxStaticRecords = 2048;
inline constexpr std::size_t MaxStaticBlockBytes = MaxStaticRecords * StaticRecordSize;
inline constexpr std::size_t StaticBlockSize = 2 + MaxStaticBlockBytes;  // count + records
static_assert(StaticBlockSize == 14338, "a StaticBlock buffer is 14,338 bytes");

inline constexpr std::size_t StaticPointerSize = 12;  // Start, Length, Extra
inline constexpr std::uint32_t NoStatics = 0xFFFFFFFF;
inline constexpr std::size_t DiffStaticEntrySize = 8;  // Offset, Length
inline constexpr std::size_t DiffMapEntrySize = 4;     // Offset
} // namespace DiffPatchLayout

// The patch header (TSRDInfo). The magic is fixed and not a field.
struct TSRDInfo {
    std::int32_t version = DiffPatchLayout::Version;
    std::int32_t staticsIndexOffset = DiffPatchLayout::NoSection;
    std::uint32_t origStaIdxCrc = 0;
    std::uint32_t origStaticsSize = 0;
    std::uint32_t modStaIdxCrc = 0;
    std::uint32_t modStaticsSize = 0;
    std::int32_t mapIndexOffset = DiffPatchLayout::NoSection;
    std::uint32_t modMapCrc = 0;
    friend bool operator==(const TSRDInfo&, const TSRDInfo&) = default;
};

using TSRDInfoBytes = std::array<std::uint8_t, DiffPatchLayout::HeaderSize>;

// The 1031 header bytes: magic, the fields, zero reserved bytes.
TSRDInfoBytes encodeHeader(const TSRDInfo& info);
// The fields of a header; the magic is not examined here (see hasPatchMagic).
TSRDInfo decodeHeader(std::span<const std::uint8_t, DiffPatchLayout::HeaderSize> bytes);
// True when the header starts with "QTPatch" in UTF-16LE.
bool hasPatchMagic(std::span<const std::uint8_t, DiffPatchLayout::HeaderSize> bytes);

// One entry of staidx0.mul.
struct StaticPointer {
    std::uint32_t start = DiffPatchLayout::NoStatics;
    std::uint32_t length = DiffPatchLayout::NoStatics;
    std::uint32_t extra = DiffPatchLayout::NoStatics;
    friend bool operator==(const StaticPointer&, const StaticPointer&) = default;
};

// One entry of the statics diff index. (-1, -1): unchanged; (-1, 0): no
// records in the modified set; otherwise the records' position in the patch
// and their byte length.
struct DiffStaticEntry {
    std::int32_t offset = -1;
    std::int32_t length = -1;
    bool unchanged() const { return offset == -1 && length == -1; }
    bool emptied() const { return offset == -1 && length == 0; }
    friend bool operator==(const DiffStaticEntry&, const DiffStaticEntry&) = default;
};

// The bytes of an index of fixed-size entries, one per block in index order,
// starting at `offset` of a file, handed out a block column at a time. A
// column of entries is only a few kilobytes, so columns are read several at
// once: fewer, larger reads, and a buffer small enough to stay in the
// processor's cache.
class IndexColumnReader {
public:
    IndexColumnReader(const File& file, std::uint64_t offset, std::size_t entrySize, const DiffGrid& grid);

    // The entries of block column `column`; valid until the next call.
    std::span<const std::uint8_t> column(int column);

private:
    const File& file_;
    std::uint64_t offset_;
    std::size_t columnBytes_;
    int columns_;
    int columnsPerRead_;
    int first_ = 0;  // the first column held in buffer_
    int held_ = 0;   // how many columns buffer_ holds
    IoBuffer buffer_;
};

// Reads a statics index one block column at a time, for walks that need only
// the column at hand: the whole table of a large map would take megabytes
// that the walk never needs at once. Only the first grid.blockCount() entries
// count (later ones are ignored); a shorter file is an IoError naming the size
// needed, raised on construction.
class StaticsIndexColumns {
public:
    StaticsIndexColumns(const File& file, const DiffGrid& grid);

    // Reads and decodes column `column`; the span is valid until the next call.
    std::span<const StaticPointer> column(int column);

    // The checksum of the whole index: XOR of every 32-bit word of its
    // entries (all three words of each), read column by column with progress
    // 0..100 under `text`. On the way it surveys the order of the records
    // (see recordsOrder).
    std::uint32_t checksum(std::string_view text, const ProgressCallback& progress);

    // How far the blocks' records, taken in index order, are from the
    // statics file's own order; known once checksum() has run.
    const RangeOrder& recordsOrder() const { return order_; }

    // What a walk over every block would find, over the blocks that have
    // records; known once checksum() has run. When every block is sound, so
    // is any subset of them, which spares a walk over the kept blocks alone.
    struct Soundness {
        bool wholeRecords = true;        // every Length as staticRecordsLength accepts it
        std::uint64_t recordsEnd = 0;    // the farthest byte any block's records reach
        std::uint64_t recordsBytes = 0;  // the Lengths' sum
    };
    const Soundness& soundness() const { return soundness_; }

private:
    DiffGrid grid_;
    IndexColumnReader reader_;
    std::vector<StaticPointer> entries_;
    RangeOrder order_;
    Soundness soundness_;
};

// XOR of the 32-bit little-endian words of bytes held in memory (a whole
// number of words). Both checksums of a patch are this: the statics index's
// over its entries, the map's over its first grid.checksummedMapBlocks()
// blocks.
std::uint32_t xorOfWords(std::span<const std::uint8_t> bytes);

// Throws IoError unless the file holds at least `needed` bytes; `what` says
// what the bytes are for.
void requireFileSize(const ByteSource& file, std::uint64_t needed, std::string_view what);

// Throws IoError unless the map (its plain form) holds every block of the grid.
void requireMapBlocks(const MapFile& map, const DiffGrid& grid);

// Raises the FormatError of a Length that is not a whole number of records
// (the length check's fixed message) or more than 2048 of them.
[[noreturn]] void rejectStaticRecordsLength(const StaticPointer& pointer, std::size_t blockIndex);

// The byte length of one statics block's records as a StaticBlock reads
// them: 0 when Start is 0xFFFFFFFF, otherwise Length, which must be a whole
// number of records and at most 2048 of them (see rejectStaticRecordsLength).
// Inline: walks over the statics call it for every block.
inline std::uint32_t staticRecordsLength(const StaticPointer& pointer, std::size_t blockIndex) {
    if (pointer.start == DiffPatchLayout::NoStatics)
        return 0;
    if (pointer.length % DiffPatchLayout::StaticRecordSize != 0 || pointer.length > DiffPatchLayout::MaxStaticBlockBytes)
        rejectStaticRecordsLength(pointer, blockIndex);
    return pointer.length;
}

// The message of the length check.
inline constexpr std::string_view StaticLengthMessage = "StaticPointer.Length is not a multiple of SizeOf(TStaticRec)";

} // namespace stonereach
