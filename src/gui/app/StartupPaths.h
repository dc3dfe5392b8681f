#pragma once

#include <optional>
#include <string>

#include "mapdata/DataFileSet.h"
#include "mapdata/SettingsStore.h"

namespace stonereach {

// Paths given on the command line that replace the stored ones for this
// start only.
struct StartupPaths {
    std::optional<std::string> mapPath;
    std::optional<std::string> clientDir;
};

// The user's store, except that the two stored paths read as the paths given
// on the command line. They apply to this start only: writing a path that
// equals the given one (as every reopen of the files writes both) leaves the
// user's store as it was; writing another path (the user chose one) ends the
// override and goes to the store.
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
        if (name == SettingNames::MapPath && keepsGiven(paths_.mapPath, value, kMapPathDesignText))
            return;
        if (name == SettingNames::ClientDir && keepsGiven(paths_.clientDir, value, kClientDirDesignText))
            return;
        store_.setValue(name, value);
    }

private:
    // True when `value` is the path given for this start, which stays out of
    // the user's store, or the edit's design text, which the start-up writes
    // while the other path is put in first and which is no path at all;
    // another path ends the override.
    static bool keepsGiven(std::optional<std::string>& given, std::string_view value, std::string_view designText) {
        if (given && (*given == value || value == designText))
            return true;
        given.reset();
        return false;
    }

    SettingsStore& store_;
    StartupPaths paths_;
};

} // namespace stonereach
