#pragma once

#include <string_view>

namespace stonereach::cli {

// The one line said when a map container is written whose entries' first
// blocks are not numbered in order: some servers put a container's entries
// in that order instead of by name, and would scramble the map.
inline constexpr std::string_view UnnumberedBlocksWarning =
    "stonereach-cli: warning: the first blocks of the container's entries are not numbered in increasing order, "
    "so servers that order entries by them would scramble this map; convert it again with --number-blocks";

} // namespace stonereach::cli
