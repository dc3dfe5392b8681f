#pragma once

#include <optional>
#include <string>

#include "mapdata/SettingsStore.h"

namespace stonereach {

// Paths given on the command line that replace the stored ones for this
// start only.
struct StartupPaths {
    std::optional<std::string> mapPath;
    std::optional<std::string> clientDir;
};

// The user's store, except that the two stored paths read as the paths given
// on the command line until the program stores a path itself. Writes go to
// the user's store unchanged, so the given paths are kept only as the
// program's own path changes store them.
class StartupPathStore final : public SettingsStore {
public:
    StartupPathStore(SettingsStore& store, StartupPaths paths) : store_(store), paths_(std::move(paths)) {}

    std::optional<std::string> value(std::string_view name) const override {
        if (name == SettingNames::MapPath && paths_.mapPath)
            return paths_.mapPath;
        if (name == SettingNames::ClientDir && paths_.clientDir)
            return paths_.clientDir;
        return store_.value(name);
    }
    void setValue(std::string_view name, std::string_view value) override {
        if (name == SettingNames::MapPath)
            paths_.mapPath.reset();
        if (name == SettingNames::ClientDir)
            paths_.clientDir.reset();
        store_.setValue(name, value);
    }

private:
    SettingsStore& store_;
    StartupPaths paths_;
};

} // namespace stonereach
