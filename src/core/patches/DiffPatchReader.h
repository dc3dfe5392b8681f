#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "mapdata/File.h"
#include "mapdata/Progress.h"
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

// Reads and checks the statics diff index at header.staticsIndexOffset.
// Progress runs 0..100 per block column under `text`.
std::vector<DiffStaticEntry> readStaticsDiffIndex(const File& patch, const TSRDInfo& header, const DiffGrid& grid,
                                                  std::string_view text, const ProgressCallback& progress);

// Reads and checks the map diff index at header.mapIndexOffset.
std::vector<std::int32_t> readMapDiffIndex(const File& patch, const TSRDInfo& header, const DiffGrid& grid,
                                           std::string_view text, const ProgressCallback& progress);

// Header and both indexes, checked (no progress).
DiffPatchContents readDiffPatch(const File& patch, const DiffGrid& grid);

} // namespace stonereach
