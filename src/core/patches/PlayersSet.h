#pragma once

#include <filesystem>

#include "mapdata/Progress.h"
#include "patches/DiffPatchGenerator.h"

namespace stonereach {

// A chain of diff patches: players apply each patch to the set they have,
// and the applier writes statics0.mul and staidx0.mul in a layout of its own
// (records packed in block order, its own Extra values), so their statics
// index differs from the shard owner's modified one. The next patch must
// therefore be made from the set the players have, not from the owner's:
// its checksum is the one their copies check.

// The three files of a set in one folder.
DiffFileSet diffFileSetIn(const std::filesystem::path& folder);

// True when the players' statics index after applying the patch that
// `generated` wrote will differ from the modified one, so the next patch must
// be made from the players' set. Reads the original and modified indexes and
// the patch's statics index; false for a patch without a statics section.
bool playersStaticsIndexDiffers(const DiffPatchRequest& generated);

// Writes into `folder` (made when missing) the set players have after
// applying the patch that `generated` wrote to the original set: the original
// map0.mul copied and the patch applied over it, and the statics rebuilt as
// the applier rebuilds them (copied from the original when the patch has no
// statics section). Refused (nothing written) when a file of the folder is a
// file of the original or modified set. Returns the files written.
DiffFileSet writePlayersSet(const DiffPatchRequest& generated, const std::filesystem::path& folder,
                            const ProgressCallback& progress);

namespace PlayersSetTexts {
inline constexpr std::string_view Copying = "Writing the players' set (copying the original files)";
// The one line that says the next patch must be made from the players' set.
inline constexpr std::string_view IndexDiffers =
    "The players' staidx0.mul will differ from the modified one: make the next patch from the players' set";
} // namespace PlayersSetTexts

} // namespace stonereach
