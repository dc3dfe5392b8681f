#pragma once

#include <string>

namespace stonereach::cli {

// The render command's arguments as typed; the numbers are converted with the
// map editor's integer syntax when the command runs.
struct RenderArgs {
    std::string map;
    std::string clientDir;
    std::string out;
    std::string x = "0";
    std::string y = "0";
    std::string cols = "16";
    std::string rows = "16";
    std::string zoom = "45";
    bool altitude = false;
    bool colored = false;
    bool onlyColor = false;
    bool noNumber = false;
    bool grid = false;
};

// The render command draws with Qt, which takes longer to load than most
// whole-file commands take to run; it therefore lives in a module beside the
// tool, loaded only when the command runs. This is the module's entry point:
// it reports its own failures on stderr and returns the exit status.
using RenderEntry = int (*)(const RenderArgs& args);
inline constexpr const char* RenderEntryName = "stonereachRunRender";

} // namespace stonereach::cli
