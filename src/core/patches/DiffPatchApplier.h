#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "mapdata/Progress.h"
#include "patches/DiffPatchGenerator.h"

namespace stonereach {

// What a diff patch is applied to: the original set is read, the modified set
// is written. Arguments in the same order as for generation.
struct DiffApplyRequest {
    DiffFileSet original;
    DiffFileSet modified;
    std::filesystem::path patch;
    DiffGrid grid;
};

struct DiffApplyResult {
    // False when the original statics index does not match the one the patch
    // was made from; then nothing was written and mismatchMessage says why.
    bool applied = false;
    std::string mismatchMessage;
    std::uint32_t computedCrc = 0;
    std::uint32_t recordedCrc = 0;
    bool staticsRebuilt = false;
    bool mapRebuilt = false;
};

namespace DiffApplyTexts {
inline constexpr std::string_view Working = "Working, please wait...";
inline constexpr std::string_view ReadingStaticsIndex = "Applying patch (Reading statics index)";
inline constexpr std::string_view CreatingStatics = "Applying patch (Creating statics)";
inline constexpr std::string_view ReadingMapIndex = "Applying patch (Reading map index)";
inline constexpr std::string_view CreatingMap = "Applying patch (Creating map)";
inline constexpr std::string_view CrcCaption = "CRC error!";
} // namespace DiffApplyTexts

// The message shown when the original statics index is not the one the patch
// was made from; both checksums in spaced hex, most significant byte first.
std::string crcMismatchMessage(std::uint32_t computed, std::uint32_t recorded);

// Rebuilds the modified set from the original set and the patch. The patch is
// read and checked whole before any output is touched. The statics pair is
// written under temporary names and both take their names together once
// complete, so a failed run never leaves a statics file beside an index that
// does not match it. The modified map0.mul must exist and is written in place:
// every block of the grid is replaced, its length and anything past the grid
// are kept. Throws IoError or FormatError.
DiffApplyResult applyDiffPatch(const DiffApplyRequest& request, const ProgressCallback& progress);

} // namespace stonereach
