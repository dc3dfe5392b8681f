#include "mapdata/IndexRecord.h"

#include "mapdata/LittleEndian.h"

namespace stonereach {

IndexRecord decodeIndexRecord(const IndexRecordBytes& bytes) {
    return IndexRecord{le::i32(bytes.data() + IndexLayout::OffsetField),
                       le::i32(bytes.data() + IndexLayout::LengthField),
                       le::u32(bytes.data() + IndexLayout::ExtraField)};
}

IndexRecordBytes encodeIndexRecord(const IndexRecord& record) {
    IndexRecordBytes bytes{};
    le::putI32(bytes.data() + IndexLayout::OffsetField, record.offset);
    le::putI32(bytes.data() + IndexLayout::LengthField, record.length);
    le::put32(bytes.data() + IndexLayout::ExtraField, record.extra);
    return bytes;
}

IndexRecord readIndexRecord(const File& index, std::uint32_t id) {
    IndexRecordBytes bytes{};
    index.readAt(static_cast<std::uint64_t>(id) * IndexLayout::RecordSize, bytes);
    return decodeIndexRecord(bytes);
}

} // namespace stonereach
