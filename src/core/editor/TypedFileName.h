#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stonereach {

// Names the user types for files in the program's own folders (brush names,
// tile list names) never leave their folder and are the same on every
// platform, so a brushes folder can be copied between systems.

// Why name cannot be a file name inside one folder, or nothing when it can:
// empty after trimming blanks, "." or "..", a path separator (/ or \), a
// control character, one of <>:"|?* (refused by Windows), a device name
// Windows reserves (CON, NUL, COM1, ... with or without an extension), or
// longer than a file name may be.
std::optional<std::string> typedFileNameProblem(std::string_view name);

// Blanks and tabs removed from both ends: the name that is used for the file.
std::string trimTypedName(std::string_view name);

} // namespace stonereach
