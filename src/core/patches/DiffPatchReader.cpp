#include "patches/DiffPatchReader.h"

#include <string>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"

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

// Reads the index of `entrySize`-byte entries at `offset`, after checking that
// all of it lies in the file.
template <typename Decode>
void readIndex(const File& patch, std::int32_t offset, std::size_t entrySize, const DiffGrid& grid,
               std::string_view what, std::string_view text, const ProgressCallback& progress, Decode decode) {
    const std::uint64_t size = patch.size();
    const std::uint64_t bytes = grid.blockCount() * entrySize;
    if (offset < 0 || static_cast<std::uint64_t>(offset) + bytes > size)
        damaged(patch, "its " + std::string(what) + " index at offset " + std::to_string(offset) +
                           " does not fit the file of " + std::to_string(size) + " bytes");
    report(progress, text, 0, 100);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    std::vector<std::uint8_t> column(perColumn * entrySize);
    for (int c = 0; c < grid.blocksAcross; ++c) {
        const std::size_t first = static_cast<std::size_t>(c) * perColumn;
        patch.readAt(static_cast<std::uint64_t>(offset) + first * entrySize, column);
        for (std::size_t i = 0; i < perColumn; ++i)
            decode(first + i, &column[i * entrySize], size);
        report(progress, text, c * 100 / grid.blocksAcross, 100);
    }
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

std::vector<DiffStaticEntry> readStaticsDiffIndex(const File& patch, const TSRDInfo& header, const DiffGrid& grid,
                                                  std::string_view text, const ProgressCallback& progress) {
    auto index = populatedVector<DiffStaticEntry>(grid.blockCount());
    readIndex(patch, header.staticsIndexOffset, L::DiffStaticEntrySize, grid, "statics", text, progress,
              [&](std::size_t k, const std::uint8_t* p, std::uint64_t size) {
                  const DiffStaticEntry e{le::i32(p), le::i32(p + 4)};
                  if (!e.unchanged() && !e.emptied()) {
                      if (e.offset < 0 || e.length < 0 || e.length % 7 != 0)
                          damaged(patch, "the statics entry of " + blockName(k, grid) + " is (" +
                                             std::to_string(e.offset) + ", " + std::to_string(e.length) + ")");
                      if (static_cast<std::size_t>(e.length) > L::MaxStaticBlockBytes)
                          damaged(patch, "the statics of " + blockName(k, grid) + " hold " +
                                             std::to_string(e.length / 7) + " records; a block holds at most 2048");
                      if (static_cast<std::uint64_t>(e.offset) + static_cast<std::uint64_t>(e.length) > size)
                          damaged(patch, "the statics of " + blockName(k, grid) + " lie past the end of the file");
                  }
                  index[k] = e;
              });
    return index;
}

std::vector<std::int32_t> readMapDiffIndex(const File& patch, const TSRDInfo& header, const DiffGrid& grid,
                                           std::string_view text, const ProgressCallback& progress) {
    auto index = populatedVector<std::int32_t>(grid.blockCount());
    readIndex(patch, header.mapIndexOffset, L::DiffMapEntrySize, grid, "map", text, progress,
              [&](std::size_t k, const std::uint8_t* p, std::uint64_t size) {
                  const std::int32_t offset = le::i32(p);
                  if (offset != -1 &&
                      (offset < 0 || static_cast<std::uint64_t>(offset) + MapLayout::BlockSize > size))
                      damaged(patch, "the map " + blockName(k, grid) + " at offset " + std::to_string(offset) +
                                         " lies outside the file");
                  index[k] = offset;
              });
    return index;
}

DiffPatchContents readDiffPatch(const File& patch, const DiffGrid& grid) {
    DiffPatchContents contents;
    contents.header = readDiffPatchHeader(patch);
    if (contents.hasStatics())
        contents.statics = readStaticsDiffIndex(patch, contents.header, grid, {}, {});
    if (contents.hasMap())
        contents.map = readMapDiffIndex(patch, contents.header, grid, {}, {});
    return contents;
}

} // namespace stonereach
