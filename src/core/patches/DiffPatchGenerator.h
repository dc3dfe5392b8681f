#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "mapdata/Progress.h"
#include "patches/DiffPatchFormat.h"

namespace stonereach {

// The three files of one set (original or modified).
struct DiffFileSet {
    std::filesystem::path staIdx;   // staidx0.mul
    std::filesystem::path statics;  // statics0.mul
    std::filesystem::path map;      // map0.mul
};

// What a diff patch is made from and where it goes.
struct DiffPatchRequest {
    DiffFileSet original;
    DiffFileSet modified;
    std::filesystem::path patch;
    bool statics = true;  // generate the statics section
    bool map = true;      // generate the map section
    DiffGrid grid;
};

// What a finished generation wrote.
struct DiffPatchSummary {
    TSRDInfo header;
    std::size_t storedStaticBlocks = 0;   // blocks whose records the patch holds
    std::size_t emptiedStaticBlocks = 0;  // blocks with no records in the modified set
    std::size_t storedMapBlocks = 0;
    std::uint64_t patchSize = 0;
};

// Stage texts and the message a window shows when a patch is written.
namespace DiffPatchTexts {
inline constexpr std::string_view Working = "Working, please wait...";
inline constexpr std::string_view Statics = "Generating patch (Statics)";
inline constexpr std::string_view StaticsIndex = "Generating patch (Statics index)";
inline constexpr std::string_view Map = "Generating patch (Map)";
inline constexpr std::string_view MapIndex = "Generating patch (Map index)";
inline constexpr std::string_view DoneMessage = "Done.";
inline constexpr std::string_view DoneCaption = "Patch file ...";
} // namespace DiffPatchTexts

// Writes the diff patch that turns the original set into the modified set.
// The patch is written under a temporary name beside its target and takes its
// name only when complete, so a failed run leaves any earlier file as it was.
// Throws IoError, FormatError (statics length checks) or Refusal.
DiffPatchSummary generateDiffPatch(const DiffPatchRequest& request, const ProgressCallback& progress);

} // namespace stonereach
