#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "mapdata/ByteSource.h"
#include "mapdata/MapBytes.h"

namespace stonereach {

// How a map container is made, for the tools that tell the user which kind
// of file is open ("UOP container, 113 entries").
struct MapContainerInfo {
    std::uint32_t version = 0;
    std::uint32_t entries = 0;  // map entries, named 0..entries-1
    std::uint32_t shortestEntryHeader = 0;
    std::uint32_t longestEntryHeader = 0;
    // The one 196-byte block that modern clients carry after the facet's
    // blocks: kept in the file, never addressed.
    bool trailingBlock = false;
    std::uint64_t payloadBytes = 0;  // all entries' payloads, the trailing block included
};

// The names a map container's entries are looked up by: those built from the
// file's stem ("build/map0xlegacymul/00000000.dat"), then, when the facet is
// known, the facet's own ("build/map0legacymul/00000000.dat"), which clients
// use inside map<N>xLegacyMUL.uop.
struct MapEntryNames {
    std::string stem;            // lower case
    std::optional<int> facet;

    // The stem of `path`, and the facet given or else the one its name starts
    // with ("map<N>").
    static MapEntryNames of(const std::filesystem::path& path, std::optional<int> facet = std::nullopt);
};

struct OpenedMapContainer {
    MapExtents extents;
    MapContainerInfo info;
};

// Reads a map container: its directory (see readUopDirectory), then the map
// entries 0..n-1 (n as its header says) by name, each stored uncompressed
// with equal stored and decompressed sizes, none overlapping another entry's
// payload, a header or a table (so writing a cell can change nothing but map
// bytes). The map's plain form is the payloads in entry order, less the
// trailing block when the payloads hold a known map size plus one block.
// Throws ContainerError naming the file and the fault.
OpenedMapContainer openMapContainer(const ByteSource& source, const MapEntryNames& names);

// True when the name, ignoring case, ends in ".uop": such map files are
// containers, every other one a plain .mul.
bool isContainerFileName(const std::filesystem::path& path);

} // namespace stonereach
