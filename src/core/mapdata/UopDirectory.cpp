#include "mapdata/UopDirectory.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_set>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/UopLayout.h"

namespace stonereach {

namespace L = UopLayout;

namespace {

std::uint64_t u64(const std::uint8_t* p) { return le::u32(p) | (static_cast<std::uint64_t>(le::u32(p + 4)) << 32); }

std::int64_t i64(const std::uint8_t* p) { return static_cast<std::int64_t>(u64(p)); }

std::string bytes(std::uint64_t size) { return std::to_string(size) + " bytes"; }

// Records are read a slice at a time, so a table that claims millions of
// records costs no more memory than a few of them.
constexpr std::size_t RecordsPerRead = 1024;

UopEntry decodeRecord(const std::uint8_t* r) {
    UopEntry e;
    e.offset = u64(r + L::RecordOffsetField);
    e.headerLength = le::u32(r + L::RecordHeaderLengthField);
    e.storedSize = le::u32(r + L::RecordStoredSizeField);
    e.decompressedSize = le::u32(r + L::RecordDecompressedSizeField);
    e.nameHash = u64(r + L::RecordNameHashField);
    e.dataHash = le::u32(r + L::RecordDataHashField);
    e.compression = le::u16(r + L::RecordCompressionField);
    return e;
}

class ChainWalk {
public:
    explicit ChainWalk(const ByteSource& source) : source_(source), size_(source.size()) {}

    UopDirectory read() {
        if (size_ < L::HeaderSize)
            fail("it is " + bytes(size_) + " long, too short for the container header");
        std::array<std::uint8_t, L::HeaderSize> header{};
        source_.readAt(0, header);
        if (le::u32(&header[L::MagicField]) != L::Magic)
            fail("it does not begin with the container mark \"MYP\"");
        UopDirectory d;
        d.version = le::u32(&header[L::VersionField]);
        d.signature = le::u32(&header[L::SignatureField]);
        d.capacity = le::u32(&header[L::CapacityField]);
        d.entryCount = le::u32(&header[L::EntryCountField]);

        std::unordered_set<std::uint64_t> visited;
        for (std::int64_t next = i64(&header[L::FirstTableField]); next != 0;) {
            const std::uint64_t at = checkedTableOffset(next);
            if (!visited.insert(at).second)
                fail("the table chain loops back to the table at offset " + std::to_string(at));
            next = readTable(at, d);
        }
        d.indexByHash();
        return d;
    }

private:
    [[noreturn]] void fail(const std::string& fault) const { throw ContainerError(source_.sourceName(), fault); }

    std::uint64_t checkedTableOffset(std::int64_t offset) const {
        if (offset < static_cast<std::int64_t>(L::HeaderSize) ||
            static_cast<std::uint64_t>(offset) + L::TableHeaderSize > size_)
            fail("a table at offset " + std::to_string(offset) + " lies outside the file (" + bytes(size_) + ")");
        return static_cast<std::uint64_t>(offset);
    }

    // Reads the table at `at` into d; returns the next table's offset.
    std::int64_t readTable(std::uint64_t at, UopDirectory& d) {
        std::array<std::uint8_t, L::TableHeaderSize> head{};
        source_.readAt(at, head);
        UopTable table{at, le::u32(&head[L::TableCountField])};
        if (table.end() > size_)
            fail("the table at offset " + std::to_string(at) + " with " + std::to_string(table.records) +
                 " records runs past the end of the file (" + bytes(size_) + ")");
        d.tables.push_back(table);

        std::vector<std::uint8_t> slice;
        for (std::uint32_t first = 0; first < table.records; first += RecordsPerRead) {
            const std::size_t count = std::min<std::size_t>(RecordsPerRead, table.records - first);
            slice.resize(count * L::RecordSize);
            source_.readAt(at + L::TableHeaderSize + std::uint64_t{first} * L::RecordSize, slice);
            for (std::size_t i = 0; i < count; ++i) {
                const UopEntry entry = decodeRecord(&slice[i * L::RecordSize]);
                if (entry.offset == 0)
                    continue;  // a free record
                if (static_cast<std::int64_t>(entry.offset) < 0 || entry.end() > size_)
                    fail("record " + std::to_string(first + i) + " of the table at offset " + std::to_string(at) +
                         " points past the end of the file (" + bytes(size_) + ")");
                d.entries.push_back(entry);
            }
        }
        return i64(&head[L::TableNextField]);
    }

    const ByteSource& source_;
    std::uint64_t size_;
};

} // namespace

std::uint64_t UopTable::end() const {
    return offset + L::TableHeaderSize + std::uint64_t{records} * L::RecordSize;
}

const UopEntry* UopDirectory::find(std::uint64_t nameHash) const {
    const auto it = byHash_.find(nameHash);
    return it == byHash_.end() ? nullptr : &entries[it->second];
}

void UopDirectory::indexByHash() {
    byHash_.clear();
    byHash_.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        byHash_.emplace(entries[i].nameHash, i);  // the first record of a hash wins
}

UopDirectory readUopDirectory(const ByteSource& source) { return ChainWalk(source).read(); }

} // namespace stonereach
