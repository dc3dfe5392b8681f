#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/Command.h"
#include "cli/RenderArgs.h"
#include "mapdata/Errors.h"

namespace stonereach::cli {

namespace {

// The module is found from the running tool's own place, whatever the
// current directory: in the program's private library folder when installed,
// beside the tool in the build folder.
std::filesystem::path renderModulePath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto dir = ec ? std::filesystem::path() : self.parent_path();
    const auto installed = (dir / STONEREACH_RENDER_MODULE_DIR / STONEREACH_RENDER_MODULE).lexically_normal();
    if (std::filesystem::exists(installed, ec))
        return installed;
    return dir / STONEREACH_RENDER_MODULE;
}

RenderEntry loadRenderEntry() {
    const auto path = renderModulePath();
    // Kept loaded until the process ends: Qt's clean-up runs at exit.
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
        throw IoError(path.string(), std::string("The drawing module of the render command could not be loaded: ") +
                                         ::dlerror());
    auto entry = reinterpret_cast<RenderEntry>(::dlsym(module, RenderEntryName));
    if (entry == nullptr)
        throw IoError(path.string(), "The drawing module of the render command has no entry point");
    return entry;
}

} // namespace

void addRenderCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "render", "Draw a region of the map into a PNG picture exactly as the editor's map view draws it.\n"
                  "A tile whose picture cannot be read is drawn black, as in the editor, and named on stderr.\n"
                  "Example: stonereach-cli render world/map0.mul world/client view.png --x 100 --y 200 "
                  "--cols 20 --rows 12 --altitude --colored");
    auto args = std::make_shared<RenderArgs>();
    cmd->add_option("MAP", args->map, "Map file (map0.mul .. map5.mul)")->required();
    cmd->add_option("CLIENTDIR", args->clientDir, "Client directory with art and texture files")->required();
    cmd->add_option("OUT", args->out, "PNG file to write")->required();
    cmd->add_option("--x", args->x, "Column of the top-left cell")->capture_default_str();
    cmd->add_option("--y", args->y, "Row of the top-left cell")->capture_default_str();
    cmd->add_option("--cols", args->cols, "Number of columns")->capture_default_str();
    cmd->add_option("--rows", args->rows, "Number of rows")->capture_default_str();
    cmd->add_option("--zoom", args->zoom, "Cell size in pixels")->capture_default_str();
    cmd->add_flag("--altitude", args->altitude, "Show the altitude labels");
    cmd->add_flag("--colored", args->colored, "Label background in the altitude colour");
    cmd->add_flag("--only-color", args->onlyColor, "No tile pictures; with --altitude, cells in the label colour");
    cmd->add_flag("--no-number", args->noNumber, "Labels without the number (four blanks)");
    cmd->add_flag("--grid", args->grid, "Grid lines between the cells");
    cmd->callback([&action, args] { action = [args] { return loadRenderEntry()(*args); }; });
}

} // namespace stonereach::cli
