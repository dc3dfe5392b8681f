#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "mapdata/MapFile.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

// What a map file is told by: the name of the plain .mul it stands for
// (map0.mul .. map5.mul, as stored on disk for a .mul, "map<N>.mul" for a
// container named map<N>LegacyMUL.uop or map<N>xLegacyMUL.uop) and the
// length of its plain form.
struct PlainMapIdentity {
    std::string fileName;
    std::uint64_t sizeBytes = 0;
};

// The identity of the map file at path: nothing unless it exists under one
// of the map names and, for a container, opens as one.
std::optional<PlainMapIdentity> plainMapIdentity(const std::filesystem::path& path);

// True when the path names an existing map file that the editor may open: a
// .mul of one of the six names, or a container of a map container's name
// that opens as one. A container that does not open leaves its reason in
// `refusal` when given.
bool isUsableMapPath(const std::filesystem::path& path, std::string* refusal = nullptr);

// The variant of the map file at path: its plain identity must match a row's
// name and exact size. Nothing otherwise.
const MapVariant* identifyMapFile(const std::filesystem::path& path);

// The variant of an open map, by its name and the length of its plain form.
const MapVariant* identifyMap(const MapFile& map);

// As identifyMapFile, but an unrecognised file is refused with a RangeError
// that says why (a container that cannot be used, with its ContainerError),
// so no geometry is ever guessed.
const MapVariant& requireKnownMap(const std::filesystem::path& path);

} // namespace stonereach
