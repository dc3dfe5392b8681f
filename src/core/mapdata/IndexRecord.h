#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "mapdata/File.h"

namespace stonereach {

// The 12-byte entry of the art and texture index files (artidx.mul,
// texidx.mul): where an entry's data lies in the matching data file. Record n
// describes land tile id n.
namespace IndexLayout {
inline constexpr std::size_t OffsetField = 0;
inline constexpr std::size_t LengthField = 4;
inline constexpr std::size_t ExtraField = 8;
inline constexpr std::size_t RecordSize = 12;
// The offset that marks an id without data.
inline constexpr std::int32_t NoEntry = -1;
} // namespace IndexLayout

struct IndexRecord {
    std::int32_t offset = IndexLayout::NoEntry;  // byte offset in the data file
    std::int32_t length = 0;                     // bytes of data
    std::uint32_t extra = 0;                     // carried, not used for land tiles
    friend bool operator==(const IndexRecord&, const IndexRecord&) = default;
};

using IndexRecordBytes = std::array<std::uint8_t, IndexLayout::RecordSize>;
static_assert(sizeof(IndexRecordBytes) == 12, "an index record is 12 bytes on disk");

IndexRecord decodeIndexRecord(const IndexRecordBytes& bytes);
IndexRecordBytes encodeIndexRecord(const IndexRecord& record);

// Reads record `id` of an open index file. An id beyond the end of the file
// raises IoError naming the index file.
IndexRecord readIndexRecord(const File& index, std::uint32_t id);

} // namespace stonereach
