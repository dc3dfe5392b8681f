#include "patches/DiffPatchFormat.h"

#include <string>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"

namespace stonereach {

namespace L = DiffPatchLayout;

namespace {

constexpr std::string_view MagicText = "QTPatch";
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

void requireFileSize(const File& file, std::uint64_t needed, std::string_view what) {
    const std::uint64_t size = file.size();
    if (size < needed)
        throw IoError(file.path().string(), "The file is too short: " + std::string(what) + " needs " +
                                                std::to_string(needed) + " bytes, it holds " + std::to_string(size));
}

StaticsIndexColumns::StaticsIndexColumns(const File& file, const DiffGrid& grid)
    : file_(file), grid_(grid), bytes_(static_cast<std::size_t>(grid.blocksDown) * L::StaticPointerSize),
      entries_(static_cast<std::size_t>(grid.blocksDown)) {
    const std::size_t count = grid.blockCount();
    requireFileSize(file, count * L::StaticPointerSize, "a statics index of " + std::to_string(count) + " blocks");
}

std::span<const StaticPointer> StaticsIndexColumns::column(int column) {
    file_.readAt(static_cast<std::uint64_t>(column) * bytes_.size(), bytes_);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::uint8_t* p = &bytes_[i * L::StaticPointerSize];
        entries_[i] = StaticPointer{le::u32(p), le::u32(p + 4), le::u32(p + 8)};
    }
    return entries_;
}

std::uint32_t StaticsIndexColumns::checksum(std::string_view text, const ProgressCallback& progress) {
    report(progress, text, 0, 100);
    std::uint32_t sum = 0;
    for (int c = 0; c < grid_.blocksAcross; ++c) {
        sum ^= staticsIndexChecksum(column(c));
        reportColumn(progress, text, c, grid_.blocksAcross);
    }
    report(progress, text, 100, 100);
    return sum;
}

void requireMapBlocks(const File& map, const DiffGrid& grid) {
    requireFileSize(map, grid.blockCount() * MapLayout::BlockSize,
                    "a map of " + std::to_string(grid.blockCount()) + " blocks");
}

std::vector<StaticPointer> readStaticsIndex(const File& file, const DiffGrid& grid, std::string_view text,
                                            const ProgressCallback& progress) {
    StaticsIndexColumns columns(file, grid);
    report(progress, text, 0, 100);
    std::vector<StaticPointer> index;
    reservePopulated(index, grid.blockCount());
    for (int c = 0; c < grid.blocksAcross; ++c) {
        const auto entries = columns.column(c);
        index.insert(index.end(), entries.begin(), entries.end());
        reportColumn(progress, text, c, grid.blocksAcross);
    }
    report(progress, text, 100, 100);
    return index;
}

void writeStaticsIndex(File& file, std::span<const StaticPointer> index, const DiffGrid& grid,
                       const std::function<void(int column)>& afterColumn) {
    if (index.size() != grid.blockCount())
        throw RangeError("A statics index of " + std::to_string(index.size()) + " entries does not fit a grid of " +
                         std::to_string(grid.blockCount()) + " blocks");
    AppendWriter out(file, 0);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    std::vector<std::uint8_t> bytes(perColumn * L::StaticPointerSize);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const std::size_t first = static_cast<std::size_t>(column) * perColumn;
        for (std::size_t i = 0; i < perColumn; ++i) {
            const StaticPointer& p = index[first + i];
            std::uint8_t* q = &bytes[i * L::StaticPointerSize];
            le::put32(q, p.start);
            le::put32(q + 4, p.length);
            le::put32(q + 8, p.extra);
        }
        out.append(bytes);
        if (afterColumn)
            afterColumn(column);
    }
    out.flush();
}

std::uint32_t staticsIndexChecksum(std::span<const StaticPointer> index) {
    std::uint32_t sum = 0;
    for (const StaticPointer& p : index)
        sum ^= p.start ^ p.length ^ p.extra;
    return sum;
}

std::uint32_t mapBlocksChecksum(std::span<const std::uint8_t> blocks) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 4 <= blocks.size(); i += 4)
        sum ^= le::u32(&blocks[i]);
    return sum;
}

void readStaticRecords(ReadAheadReader& statics, const StaticPointer& pointer, std::size_t blockIndex,
                       std::vector<std::uint8_t>& records) {
    records.clear();
    if (pointer.start == L::NoStatics)
        return;
    if (pointer.length % L::StaticRecordSize != 0)
        throw FormatError(std::string(StaticLengthMessage));
    if (pointer.length > L::MaxStaticBlockBytes)
        throw FormatError("Statics block " + std::to_string(blockIndex) + " holds " +
                          std::to_string(pointer.length / L::StaticRecordSize) +
                          " records; a block holds at most 2048");
    records.resize(pointer.length);
    statics.read(pointer.start, records);
}

} // namespace stonereach
