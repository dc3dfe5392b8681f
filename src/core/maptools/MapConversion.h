#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "mapdata/Progress.h"

namespace stonereach {

// A map written anew in the other form: a plain .mul into a UOP container
// when the output's name ends in ".uop", a container into a .mul when it ends
// in ".mul" (either way round, or the same form again).
struct MapConversionRequest {
    std::filesystem::path input;
    std::filesystem::path output;
    // The facet whose entry names the container has; by default the one the
    // output's name starts with ("map<N>"). For a container read, its names
    // are looked for after the input's own.
    std::optional<int> facet;
    // Writes each block's ordinal (0, 1, 2, ... in file order) into its
    // 4-byte header, as shipped maps carry them.
    bool numberBlocks = false;
};

struct MapConversionResult {
    std::uint64_t plainBytes = 0;   // the map's bytes written
    bool outputIsContainer = false;
    std::uint32_t entries = 0;      // of the container written
    // For a container written: whether the headers of the entries' first
    // blocks, read as signed numbers, increase from entry to entry. Some
    // servers put entries in that order instead of by name.
    bool firstHeadersIncreasing = true;
};

// Writes the map's plain form (all of a .mul's bytes; a container's map
// entries in entry order, less the trailing block it may carry) into the
// output, a container in the form tools write. The output is made under a
// temporary name and put in place when complete; the input is only read.
// Progress: "Converting map" with the bytes done of the total. Throws Refusal
// for an output named neither .uop nor .mul, an output that is the input, or
// a container whose facet cannot be told; ContainerError for an input
// container that cannot be used; IoError for failed I/O.
MapConversionResult convertMap(const MapConversionRequest& request, const ProgressCallback& progress = {});

} // namespace stonereach
