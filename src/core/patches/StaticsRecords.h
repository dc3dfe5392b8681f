#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "mapdata/RecordsReader.h"
#include "patches/DiffPatchFormat.h"

namespace stonereach {

// A reader of a statics file for a walk over its index: it holds the file in
// memory when `order`, the survey of the index, finds the records out of the
// index's order.
inline RecordsReader staticsReader(const File& statics, const RangeOrder& order) {
    return RecordsReader(statics, order.worthReadingWhole(statics.size()));
}

// How many blocks ahead a walk tells the reader which records it will ask
// for: enough for the records to arrive from memory while the walk works on
// the blocks before them.
inline constexpr std::size_t StaticsPrefetchBlocks = 16;

// Tells the reader that the records of `pointer` will be asked for soon.
inline void prefetchStaticRecords(const RecordsReader& reader, const StaticPointer& pointer) {
    if (pointer.start != DiffPatchLayout::NoStatics)
        reader.prefetch(pointer.start);
}

// The records of one statics block as a StaticBlock reads them (see
// staticRecordsLength).
inline std::span<const std::uint8_t> staticRecords(RecordsReader& statics, const StaticPointer& pointer,
                                                   std::size_t blockIndex) {
    return statics.view(pointer.start, staticRecordsLength(pointer, blockIndex));
}

} // namespace stonereach
