#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QString>

#include "mapdata/SettingsStore.h"

class QSettings;
class QTimer;

namespace stonereach {

// The user's settings kept by QSettings: on Windows the registry key
// HKEY_CURRENT_USER\Software\BrannockStonereach, elsewhere the per-user
// configuration file (which follows XDG_CONFIG_HOME). Every value is a
// string.
//
// Values set while the program runs are kept in memory and written together
// by flush(): a moment after the last change (so typing a path, which stores
// it at every keystroke, writes once when the typing pauses, and a crash
// loses at most that moment), when the application is about to quit (after
// the main window has closed and stored its settings) and when the store is
// destroyed.
class QtSettingsStore final : public SettingsStore {
public:
    // How long after the last change the values are written.
    static constexpr std::chrono::milliseconds DefaultQuietPeriod{1500};

    explicit QtSettingsStore(std::chrono::milliseconds quietPeriod = DefaultQuietPeriod);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view value) override;

    // Writes the values set since the last flush; nothing when there are
    // none. Throws IoError when the settings cannot be written.
    void flush();

private:
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<QTimer> quiet_;
    std::map<std::string, std::string, std::less<>> pending_;
};

} // namespace stonereach
