#include "patches/DiffPatchFormat.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace L = DiffPatchLayout;

namespace {

constexpr std::string_view MagicText = "QTPatch";

// How much of an index one read takes.
constexpr std::size_t IndexReadBytes = std::size_t{64} << 10;
static_assert(MagicText.size() * 2 == L::MagicSize);

// Block columns hold this many index entries; progress is reported per column.
void reportColumn(const ProgressCallback& progress, std::string_view text, int column, int columns) {
    report(progress, text, column * 100 / columns, 100);
}

} // namespace

TSRDInfoBytes encodeHeader(const TSRDInfo& info) {
    TSRDInfoBytes bytes{};
    for (std::size_t i = 0; i < MagicText.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(MagicText[i]);
        bytes[2 * i + 1] = 0;
    }
    le::putI32(&bytes[L::VersionOffset], info.version);
    le::putI32(&bytes[L::StaticsIndexOffsetOffset], info.staticsIndexOffset);
    le::put32(&bytes[L::OrigStaIdxCrcOffset], info.origStaIdxCrc);
    le::put32(&bytes[L::OrigStaticsSizeOffset], info.origStaticsSize);
    le::put32(&bytes[L::ModStaIdxCrcOffset], info.modStaIdxCrc);
    le::put32(&bytes[L::ModStaticsSizeOffset], info.modStaticsSize);
    le::putI32(&bytes[L::MapIndexOffsetOffset], info.mapIndexOffset);
    le::put32(&bytes[L::ModMapCrcOffset], info.modMapCrc);
    return bytes;
}

TSRDInfo decodeHeader(std::span<const std::uint8_t, L::HeaderSize> bytes) {
    TSRDInfo info;
    info.version = le::i32(&bytes[L::VersionOffset]);
    info.staticsIndexOffset = le::i32(&bytes[L::StaticsIndexOffsetOffset]);
    info.origStaIdxCrc = le::u32(&bytes[L::OrigStaIdxCrcOffset]);
    info.origStaticsSize = le::u32(&bytes[L::OrigStaticsSizeOffset]);
    info.modStaIdxCrc = le::u32(&bytes[L::ModStaIdxCrcOffset]);
    info.modStaticsSize = le::u32(&bytes[L::ModStaticsSizeOffset]);
    info.mapIndexOffset = le::i32(&bytes[L::MapIndexOffsetOffset]);
    info.modMapCrc = le::u32(&bytes[L::ModMapCrcOffset]);
    return info;
}

bool hasPatchMagic(std::span<const std::uint8_t, L::HeaderSize> bytes) {
    for (std::size_t i = 0; i < MagicText.size(); ++i)
        if (bytes[2 * i] != static_cast<std::uint8_t>(MagicText[i]) || bytes[2 * i + 1] != 0)
            return false;
    return true;
}

void requireFileSize(const ByteSource& file, std::uint64_t needed, std::string_view what) {
    const std::uint64_t size = file.size();
    if (size < needed)
        throw IoError(file.sourceName(), "The file is too short: " + std::string(what) + " needs " +
                                                std::to_string(needed) + " bytes, it holds " + std::to_string(size));
}

IndexColumnReader::IndexColumnReader(const File& file, std::uint64_t offset, std::size_t entrySize,
                                     const DiffGrid& grid)
    : file_(file), offset_(offset), columnBytes_(static_cast<std::size_t>(grid.blocksDown) * entrySize),
      columns_(grid.blocksAcross),
      columnsPerRead_(static_cast<int>(std::clamp<std::size_t>(IndexReadBytes / columnBytes_, 1,
                                                               static_cast<std::size_t>(grid.blocksAcross)))),
      buffer_(makeIoBuffer(columnBytes_ * static_cast<std::size_t>(columnsPerRead_))) {}

std::span<const std::uint8_t> IndexColumnReader::column(int column) {
    if (column < first_ || column >= first_ + held_) {
        first_ = column;
        held_ = std::min(columnsPerRead_, columns_ - column);
        file_.readAt(offset_ + static_cast<std::uint64_t>(column) * columnBytes_,
                     {buffer_.get(), columnBytes_ * static_cast<std::size_t>(held_)});
    }
    return {&buffer_[static_cast<std::size_t>(column - first_) * columnBytes_], columnBytes_};
}

StaticsIndexColumns::StaticsIndexColumns(const File& file, const DiffGrid& grid)
    : grid_(grid), reader_(file, 0, L::StaticPointerSize, grid), entries_(static_cast<std::size_t>(grid.blocksDown)) {
    const std::size_t count = grid.blockCount();
    requireFileSize(file, count * L::StaticPointerSize, "a statics index of " + std::to_string(count) + " blocks");
}

std::span<const StaticPointer> StaticsIndexColumns::column(int column) {
    const std::span<const std::uint8_t> bytes = reader_.column(column);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::uint8_t* p = &bytes[i * L::StaticPointerSize];
        entries_[i] = StaticPointer{le::u32(p), le::u32(p + 4), le::u32(p + 8)};
    }
    return entries_;
}

std::uint32_t StaticsIndexColumns::checksum(std::string_view text, const ProgressCallback& progress) {
    report(progress, text, 0, 100);
    std::uint32_t sum = 0;
    order_ = RangeOrder{};
    bool whole = true;
    std::uint64_t end = 0;
    std::uint64_t bytesOfRecords = 0;
    for (int c = 0; c < grid_.blocksAcross; ++c) {
        const std::span<const std::uint8_t> bytes = reader_.column(c);
        sum ^= xorOfWords(bytes);
        for (std::size_t i = 0; i < bytes.size(); i += L::StaticPointerSize) {
            // Branch-free, as the order survey: a block without records
            // counts as a length of 0, which reaches no byte.
            const std::uint32_t start = le::u32(&bytes[i]);
            const bool has = start != L::NoStatics;
            const std::uint64_t length = has ? le::u32(&bytes[i + 4]) : 0;
            order_.add(start, length);
            whole &= (length % L::StaticRecordSize == 0) & (length <= L::MaxStaticBlockBytes);
            end = std::max(end, length != 0 ? std::uint64_t{start} + length : 0);
            bytesOfRecords += length;
        }
        reportColumn(progress, text, c, grid_.blocksAcross);
    }
    soundness_ = Soundness{whole, end, bytesOfRecords};
    report(progress, text, 100, 100);
    return sum;
}

void requireMapBlocks(const MapFile& map, const DiffGrid& grid) {
    requireFileSize(map, grid.blockCount() * MapLayout::BlockSize,
                    "a map of " + std::to_string(grid.blockCount()) + " blocks");
}

std::uint32_t xorOfWords(std::span<const std::uint8_t> bytes) {
    // XOR works on each bit alone, so byte j of the sum is the XOR of every
    // byte at an offset of j modulo 4. The bytes are combined eight at a time
    // in a 64-bit word (in whatever order the host keeps it: the word goes
    // back to memory before its bytes are folded), which the compiler turns
    // into vector instructions; a word at a time took as long as reading the
    // file.
    std::uint64_t wide = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, &bytes[i], sizeof word);
        wide ^= word;
    }
    std::array<std::uint8_t, 8> lanes{};
    std::memcpy(lanes.data(), &wide, sizeof wide);
    const std::array<std::uint8_t, 4> folded{static_cast<std::uint8_t>(lanes[0] ^ lanes[4]),
                                             static_cast<std::uint8_t>(lanes[1] ^ lanes[5]),
                                             static_cast<std::uint8_t>(lanes[2] ^ lanes[6]),
                                             static_cast<std::uint8_t>(lanes[3] ^ lanes[7])};
    std::uint32_t sum = le::u32(folded.data());
    for (; i + 4 <= bytes.size(); i += 4)
        sum ^= le::u32(&bytes[i]);
    return sum;
}

void rejectStaticRecordsLength(const StaticPointer& pointer, std::size_t blockIndex) {
    if (pointer.length % L::StaticRecordSize != 0)
        throw FormatError(std::string(StaticLengthMessage));
    throw FormatError("Statics block " + std::to_string(blockIndex) + " holds " +
                      std::to_string(pointer.length / L::StaticRecordSize) + " records; a block holds at most 2048");
}

} // namespace stonereach
