#pragma once

#include <QString>

#include "mapdata/SettingsStore.h"

namespace stonereach {

// The user's settings kept by QSettings: on Windows the registry key
// HKEY_CURRENT_USER\Software\BrannockStonereach, elsewhere the per-user
// configuration file (which follows XDG_CONFIG_HOME). Every value is a
// string. The store is opened for each read or write and written through at
// once, so a path stored while the program runs is kept even if it ends
// abnormally.
class QtSettingsStore final : public SettingsStore {
public:
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view value) override;
};

} // namespace stonereach
