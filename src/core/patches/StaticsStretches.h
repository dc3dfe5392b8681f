#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "mapdata/GatheredReader.h"
#include "patches/DiffPatchFormat.h"

namespace stonereach {

// The memory a walk over statics sets gathers records in at a time: as much
// as the original statics file. Fresh memory costs: setting up a page (on
// virtual machines above all) costs about as much as reading it several
// times from the file cache. In stretches this size, a set in any order
// takes two (its records and the tables that place them), reading the file
// twice, which costs less than taking memory for all of it at once; and the
// memory stays within the file's size. Past 256 MB a walk takes more
// stretches rather than more memory.
inline std::size_t staticsGatherBudget(std::uint64_t originalStaticsSize) {
    constexpr std::uint64_t Least = std::uint64_t{2} << 20;
    constexpr std::uint64_t Most = std::uint64_t{256} << 20;
    return static_cast<std::size_t>(std::clamp(originalStaticsSize, Least, Most));
}

// A reader of a statics file for a walk in stretches of `budget`: it gathers
// the records when `order`, the survey of the file's index, finds them out of
// order.
inline GatheredReader staticsReader(const File& statics, GatherBudget& budget, const RangeOrder& order) {
    const std::uint64_t mostRanges = std::min<std::uint64_t>(
        order.ranges(), budget.total() / (GatheredReader::AnnouncementBytes + DiffPatchLayout::StaticRecordSize));
    return GatheredReader(statics, budget, order.worthGathering(), static_cast<std::size_t>(mostRanges));
}

// Announces the records of one statics block to the reader that will serve
// them, when there are any to read: a block without records, or whose Length
// the walk will refuse, is not.
inline void wantStaticRecords(GatheredReader& reader, const StaticPointer& pointer) {
    if (pointer.start != DiffPatchLayout::NoStatics && pointer.length != 0 &&
        pointer.length % DiffPatchLayout::StaticRecordSize == 0 && pointer.length <= DiffPatchLayout::MaxStaticBlockBytes)
        reader.want(pointer.start, pointer.length);
}

// The records of one statics block as a StaticBlock reads them (see
// staticRecordsLength), served by a gathering reader: valid until the
// reader's next stretch.
inline std::span<const std::uint8_t> staticRecords(GatheredReader& statics, const StaticPointer& pointer,
                                                   std::size_t blockIndex) {
    return statics.view(pointer.start, staticRecordsLength(pointer, blockIndex));
}

// Walks the block columns of a grid in index order. When no reader gathers,
// `walk(column)` simply goes over every column, then `endStretch()`. When one
// does, the walk goes in stretches: for each, `plan(column)` announces to the
// readers the records each of its columns will need, the readers load them,
// `walk(column)` goes over the columns, and `endStretch()` lets go of
// anything taken from the readers (their memory is reused for the next
// stretch). A stretch takes as many columns as the budget holds, and at least
// one (what of a column does not fit is then read as it is asked for).
template <class Plan, class Walk, class EndStretch>
void walkColumnsInStretches(int columns, std::initializer_list<GatheredReader*> readers, GatherBudget& budget,
                            Plan plan, Walk walk, EndStretch endStretch) {
    if (std::none_of(readers.begin(), readers.end(), [](const GatheredReader* r) { return r->gathers(); })) {
        for (int column = 0; column < columns; ++column)
            walk(column);
        endStretch();
        return;
    }

    std::vector<std::size_t> before(readers.size());
    for (int first = 0; first < columns;) {
        for (GatheredReader* reader : readers)
            reader->clear();
        budget.resetExceeded();
        int end = first;
        while (end < columns) {
            std::size_t i = 0;
            for (GatheredReader* reader : readers)
                before[i++] = reader->announcements();
            plan(end);
            if (!budget.exceeded()) {
                ++end;
                continue;
            }
            if (end == first) {
                ++end;
            } else {
                i = 0;
                for (GatheredReader* reader : readers)
                    reader->forget(before[i++]);
            }
            break;
        }
        for (GatheredReader* reader : readers)
            reader->load();
        for (int column = first; column < end; ++column)
            walk(column);
        endStretch();
        first = end;
    }
}

} // namespace stonereach
