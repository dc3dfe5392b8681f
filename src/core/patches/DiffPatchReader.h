#pragma once

#include <cstdint>
#include <vector>

#include "mapdata/File.h"
#include "patches/DiffPatchFormat.h"

namespace stonereach {

// A diff patch whose header and indexes have been read and checked: every
// stored statics block and map block lies inside the patch file, so applying
// it can never read past the patch's end or size a buffer by a bad count.
struct DiffPatchContents {
    TSRDInfo header;
    std::vector<DiffStaticEntry> statics;  // empty when the patch has no statics section
    std::vector<std::int32_t> map;         // empty when the patch has no map section
    bool hasStatics() const { return header.staticsIndexOffset != DiffPatchLayout::NoSection; }
    bool hasMap() const { return header.mapIndexOffset != DiffPatchLayout::NoSection; }
};

// Reads the 1031-byte header. A file that is too short or does not start with
// the patch magic and version 3 is refused with a FormatError.
TSRDInfo readDiffPatchHeader(const File& patch);

// The statics diff index of a patch, read and checked a block column at a
// time: a whole number of records, at most a block's worth, inside the patch.
// Construction checks that the index lies in the file; a bad entry is a
// FormatError naming the block when its column is read.
class StaticsDiffColumns {
public:
    StaticsDiffColumns(const File& patch, const TSRDInfo& header, const DiffGrid& grid);
    // The checked entries of block column `column`; valid until the next call.
    std::span<const DiffStaticEntry> column(int column);

private:
    const File& patch_;
    DiffGrid grid_;
    std::uint64_t patchSize_;
    IndexColumnReader reader_;
    std::vector<DiffStaticEntry> entries_;
};

// The map diff index of a patch, read and checked a block column at a time:
// every stored block lies inside the patch.
class MapDiffColumns {
public:
    MapDiffColumns(const File& patch, const TSRDInfo& header, const DiffGrid& grid);
    // The checked entries of block column `column`; valid until the next call.
    std::span<const std::int32_t> column(int column);

private:
    const File& patch_;
    DiffGrid grid_;
    std::uint64_t patchSize_;
    IndexColumnReader reader_;
    std::vector<std::int32_t> entries_;
};

// Header and both indexes as whole tables, checked (no progress).
DiffPatchContents readDiffPatch(const File& patch, const DiffGrid& grid);

} // namespace stonereach
