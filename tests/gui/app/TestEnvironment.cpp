// Runs before any test: the window tests must never read or write the
// settings of the user who runs them, so the per-user configuration folder
// points into a fresh temporary folder for the whole test program.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

const bool isolatedConfiguration = [] {
    std::random_device seed;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("stonereach-gui-config-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}();

} // namespace
