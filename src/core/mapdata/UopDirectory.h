#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "mapdata/ByteSource.h"

namespace stonereach {

// One used record of a container's tables: where an entry lies and how it is
// stored.
struct UopEntry {
    std::uint64_t offset = 0;  // of the entry header
    std::uint32_t headerLength = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t decompressedSize = 0;
    std::uint64_t nameHash = 0;
    std::uint32_t dataHash = 0;
    std::uint16_t compression = 0;

    std::uint64_t payloadOffset() const { return offset + headerLength; }
    std::uint64_t end() const { return payloadOffset() + storedSize; }
};

// Where a table of the chain lies and how many records it holds.
struct UopTable {
    std::uint64_t offset = 0;
    std::uint32_t records = 0;
    std::uint64_t end() const;
};

// What a container's header and tables say: every used record, in the order
// of the chain, findable by name hash.
class UopDirectory {
public:
    std::uint32_t version = 0;
    std::uint32_t signature = 0;
    std::uint32_t capacity = 0;    // records per table, as the header says
    std::uint32_t entryCount = 0;  // as the header says
    std::vector<UopTable> tables;
    std::vector<UopEntry> entries;

    // The entry of this name hash (the first record that has it), or null.
    const UopEntry* find(std::uint64_t nameHash) const;
    // Makes find() work; readUopDirectory does this.
    void indexByHash();

private:
    std::unordered_map<std::uint64_t, std::size_t> byHash_;
};

// Reads a container's header and walks its table chain: every offset is
// checked against the source's size, a chain that comes back to a table it
// has been through is refused, free records (offset 0) are skipped and every
// record a table counts is read. Each entry must lie inside the file.
// Throws ContainerError naming the source and the fault, or IoError when
// reading fails.
UopDirectory readUopDirectory(const ByteSource& source);

} // namespace stonereach
