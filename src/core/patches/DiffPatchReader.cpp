#include "patches/DiffPatchReader.h"

#include <string>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace L = DiffPatchLayout;

namespace {

[[noreturn]] void damaged(const File& patch, const std::string& what) {
    throw FormatError("The diff patch '" + patch.path().string() + "' is damaged: " + what);
}

std::string blockName(std::size_t k, const DiffGrid& grid) {
    const auto down = static_cast<std::size_t>(grid.blocksDown);
    return "block " + std::to_string(k) + " (column " + std::to_string(k / down) + ", row " +
           std::to_string(k % down) + ")";
}

// The offset of an index of `entrySize`-byte entries, after checking that all
// of it lies in a file of `size` bytes.
std::uint64_t indexOffset(const File& patch, std::uint64_t size, std::int32_t offset, std::size_t entrySize,
                          const DiffGrid& grid, std::string_view what) {
    const std::uint64_t bytes = grid.blockCount() * entrySize;
    if (offset < 0 || static_cast<std::uint64_t>(offset) + bytes > size)
        damaged(patch, "its " + std::string(what) + " index at offset " + std::to_string(offset) +
                           " does not fit the file of " + std::to_string(size) + " bytes");
    return static_cast<std::uint64_t>(offset);
}

std::size_t firstOfColumn(int column, const DiffGrid& grid) {
    return static_cast<std::size_t>(column) * static_cast<std::size_t>(grid.blocksDown);
}

} // namespace

TSRDInfo readDiffPatchHeader(const File& patch) {
    if (patch.size() < L::HeaderSize)
        throw FormatError("'" + patch.path().string() + "' is not a diff patch: it is shorter than the " +
                          std::to_string(L::HeaderSize) + "-byte header");
    TSRDInfoBytes bytes{};
    patch.readAt(0, bytes);
    const TSRDInfo header = decodeHeader(bytes);
    if (!hasPatchMagic(bytes) || header.version != L::Version)
        throw FormatError("'" + patch.path().string() + "' is not a diff patch of version 3");
    return header;
}

StaticsDiffColumns::StaticsDiffColumns(const File& patch, const TSRDInfo& header, const DiffGrid& grid)
    : patch_(patch), grid_(grid), patchSize_(patch.size()),
      reader_(patch,
              indexOffset(patch, patchSize_, header.staticsIndexOffset, L::DiffStaticEntrySize, grid, "statics"),
              L::DiffStaticEntrySize, grid),
      entries_(static_cast<std::size_t>(grid.blocksDown)) {}

std::span<const DiffStaticEntry> StaticsDiffColumns::column(int column) {
    const std::span<const std::uint8_t> bytes = reader_.column(column);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::uint8_t* p = &bytes[i * L::DiffStaticEntrySize];
        const DiffStaticEntry e{le::i32(p), le::i32(p + 4)};
        if (!e.unchanged() && !e.emptied()) {
            const std::size_t k = firstOfColumn(column, grid_) + i;
            if (e.offset < 0 || e.length < 0 || e.length % 7 != 0)
                damaged(patch_, "the statics entry of " + blockName(k, grid_) + " is (" + std::to_string(e.offset) +
                                    ", " + std::to_string(e.length) + ")");
            if (static_cast<std::size_t>(e.length) > L::MaxStaticBlockBytes)
                damaged(patch_, "the statics of " + blockName(k, grid_) + " hold " + std::to_string(e.length / 7) +
                                    " records; a block holds at most 2048");
            if (static_cast<std::uint64_t>(e.offset) + static_cast<std::uint64_t>(e.length) > patchSize_)
                damaged(patch_, "the statics of " + blockName(k, grid_) + " lie past the end of the file");
        }
        entries_[i] = e;
    }
    return entries_;
}

MapDiffColumns::MapDiffColumns(const File& patch, const TSRDInfo& header, const DiffGrid& grid)
    : patch_(patch), grid_(grid), patchSize_(patch.size()),
      reader_(patch, indexOffset(patch, patchSize_, header.mapIndexOffset, L::DiffMapEntrySize, grid, "map"),
              L::DiffMapEntrySize, grid),
      entries_(static_cast<std::size_t>(grid.blocksDown)) {}

std::span<const std::int32_t> MapDiffColumns::column(int column) {
    const std::span<const std::uint8_t> bytes = reader_.column(column);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::int32_t offset = le::i32(&bytes[i * L::DiffMapEntrySize]);
        if (offset != -1 && (offset < 0 || static_cast<std::uint64_t>(offset) + MapLayout::BlockSize > patchSize_))
            damaged(patch_, "the map " + blockName(firstOfColumn(column, grid_) + i, grid_) + " at offset " +
                                std::to_string(offset) + " lies outside the file");
        entries_[i] = offset;
    }
    return entries_;
}

namespace {

template <class Columns, class Entry>
std::vector<Entry> wholeIndex(Columns columns, const DiffGrid& grid) {
    std::vector<Entry> index;
    index.reserve(grid.blockCount());
    for (int c = 0; c < grid.blocksAcross; ++c) {
        const auto entries = columns.column(c);
        index.insert(index.end(), entries.begin(), entries.end());
    }
    return index;
}

} // namespace

DiffPatchContents readDiffPatch(const File& patch, const DiffGrid& grid) {
    DiffPatchContents contents;
    contents.header = readDiffPatchHeader(patch);
    if (contents.hasStatics())
        contents.statics =
            wholeIndex<StaticsDiffColumns, DiffStaticEntry>(StaticsDiffColumns(patch, contents.header, grid), grid);
    if (contents.hasMap())
        contents.map = wholeIndex<MapDiffColumns, std::int32_t>(MapDiffColumns(patch, contents.header, grid), grid);
    return contents;
}

} // namespace stonereach
