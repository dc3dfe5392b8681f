#pragma once

#include <filesystem>
#include <optional>

namespace stonereach {

// The folder of the editor's own files: tile lists (textures/*.lst), brushes
// (brushes/*.brs), tilelist.xml, bookmarklist.xml and coords.def.
//
// In order: the folder named by STONEREACH_HOME when it is set; else, for an
// installed program, the per-user data folder; else the executable's folder
// when it already holds some of these files or may be written (a portable
// install or the build folder); else the per-user data folder, so a copy in
// a read-only folder still has somewhere to keep them.
std::filesystem::path programDirectory();

// Where an installed editor finds its desktop entry, relative to its own
// folder: an executable with this file beside it is an installed one.
std::filesystem::path installedLayoutMarker();

// The choice above from its inputs, so it can be tested without touching the
// environment or the installation.
std::filesystem::path chooseProgramDirectory(const std::optional<std::filesystem::path>& home,
                                             const std::filesystem::path& executableDir,
                                             const std::filesystem::path& userDataDir);

} // namespace stonereach
