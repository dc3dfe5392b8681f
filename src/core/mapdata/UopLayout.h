#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace stonereach {

// Byte layout of a UOP container: a file header, then a chain of tables of
// entry records interleaved with the entries, each entry an optional entry
// header followed by its payload. All integers little-endian.
namespace UopLayout {
inline constexpr std::uint32_t Magic = 0x0050594D;  // "MYP\0"
inline constexpr std::uint32_t Version = 5;
inline constexpr std::uint32_t Signature = 0xFD23EC43;

// File header.
inline constexpr std::size_t MagicField = 0x00;
inline constexpr std::size_t VersionField = 0x04;
inline constexpr std::size_t SignatureField = 0x08;
inline constexpr std::size_t FirstTableField = 0x0C;   // signed 64-bit
inline constexpr std::size_t CapacityField = 0x14;     // records per table
inline constexpr std::size_t EntryCountField = 0x18;
inline constexpr std::size_t HeaderSize = 0x28;
inline constexpr std::uint64_t WrittenFirstTable = 0x200;
inline constexpr std::uint32_t WrittenCapacity = 1000;

// Table: its record count, the next table's offset (0 ends the chain), then
// the records.
inline constexpr std::size_t TableCountField = 0;
inline constexpr std::size_t TableNextField = 4;       // signed 64-bit
inline constexpr std::size_t TableHeaderSize = 12;

// Record.
inline constexpr std::size_t RecordOffsetField = 0;    // signed 64-bit, 0 = free record
inline constexpr std::size_t RecordHeaderLengthField = 8;
inline constexpr std::size_t RecordStoredSizeField = 12;
inline constexpr std::size_t RecordDecompressedSizeField = 16;
inline constexpr std::size_t RecordNameHashField = 20;
inline constexpr std::size_t RecordDataHashField = 28;
inline constexpr std::size_t RecordCompressionField = 32;
inline constexpr std::size_t RecordSize = 34;

// Compression of an entry.
inline constexpr std::uint16_t Stored = 0;
inline constexpr std::uint16_t Zlib = 1;

// The entry header tools write (version-4 style): 16-bit 3, 16-bit 8 (where
// some servers take the payload to start, counted from offset 4), then a
// 64-bit FILETIME.
inline constexpr std::size_t EntryHeaderSize = 12;
inline constexpr std::uint16_t EntryHeaderWord0 = 3;
inline constexpr std::uint16_t EntryHeaderWord1 = 8;

// Map entries: 4096 blocks of 196 bytes each, all but the last full.
inline constexpr std::uint64_t MapEntryBytes = 0xC4000;
} // namespace UopLayout

// "build/<stem>/00000012.dat": the name of map entry `index` in a container
// whose names are built from `stem` (lower case, "map0legacymul").
std::string uopMapEntryName(std::string_view stem, std::uint32_t index);

// "build/artlegacymul/00000003.tga": the name of the art entry of tile `id`.
std::string uopArtEntryName(std::uint32_t id);

} // namespace stonereach
