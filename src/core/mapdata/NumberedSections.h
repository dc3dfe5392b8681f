#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mapdata/IniDocument.h"

namespace stonereach {

// Lists kept in INI profile files as numbered sections (point patches, the
// coordinates index): entry n is the section named n in decimal from 0, and
// the number of entries is the number of section lines of the file, not the
// highest section number.

// A key of every section of a list and the value it reads as when missing.
struct NumberedSectionKey {
    std::string_view name;
    std::string_view missingValue;
};

// The values of keys, in keys' order, of sections 0 .. count-1 of doc;
// nothing for a section number that doc does not have.
std::vector<std::optional<std::vector<std::string>>> readNumberedSections(const IniDocument& doc,
                                                                          std::span<const NumberedSectionKey> keys);

// Rows as sections 0 .. n-1 of a new document, row n's values under keys in
// order.
IniDocument numberedSectionsDocument(std::span<const NumberedSectionKey> keys,
                                     std::span<const std::vector<std::string>> rows);

// Writes rows as sections 0 .. n-1, row n's values under keys in order,
// replacing the whole file atomically so no section of an older, longer list
// remains.
void writeNumberedSections(const std::filesystem::path& path, std::span<const NumberedSectionKey> keys,
                           std::span<const std::vector<std::string>> rows);

} // namespace stonereach
