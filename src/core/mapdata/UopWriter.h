#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mapdata/File.h"
#include "mapdata/UopLayout.h"

namespace stonereach {

// One entry of a container to be written: its name and how its payload is
// stored (the payload itself is the caller's to write).
struct UopEntryToWrite {
    std::string name;
    std::uint32_t storedSize = 0;
    std::uint32_t decompressedSize = 0;
    std::uint16_t compression = UopLayout::Stored;
};

// Where a container's parts go, in the form readers in the wild accept:
// version 5 with the signature, the first table at 0x200, tables of 1000
// records, each table followed by the entries it lists, each entry a 12-byte
// version-4 style header (so its data hash, the Adler-32 of that header,
// stays valid when the payload is edited in place) and then its payload.
struct UopContainerPlan {
    std::uint64_t fileSize = 0;
    std::vector<std::uint64_t> tableOffsets;
    std::vector<std::uint64_t> entryOffsets;  // of each entry's header, in entry order

    std::uint64_t payloadOffset(std::size_t entry) const { return entryOffsets[entry] + UopLayout::EntryHeaderSize; }
};

// Lays the entries out in their order, or, with a seed, each table's entries
// in a shuffled order after it, as shipped files have them (the records stay
// in entry order; readers find entries by name).
UopContainerPlan planUopContainer(std::span<const UopEntryToWrite> entries,
                                  std::optional<std::uint64_t> shuffleSeed = std::nullopt);

// Writes the file header, the tables and the entry headers of the plan into
// a file of at least plan.fileSize bytes; the payloads are left to the caller.
void writeUopStructure(File& file, std::span<const UopEntryToWrite> entries, const UopContainerPlan& plan);

// An entry whose payload is at hand.
struct UopPayload {
    std::string name;
    std::vector<std::uint8_t> bytes;     // as stored
    std::uint32_t decompressedSize = 0;  // the bytes' own size when stored
    std::uint16_t compression = UopLayout::Stored;
};

// Writes a whole container of these entries (see planUopContainer) under a
// temporary name and puts it in place at `target`.
void writeUopFile(const std::filesystem::path& target, std::span<const UopPayload> entries,
                  std::optional<std::uint64_t> shuffleSeed = std::nullopt);

// The 12-byte entry header every entry gets.
std::array<std::uint8_t, UopLayout::EntryHeaderSize> uopEntryHeader();

} // namespace stonereach
