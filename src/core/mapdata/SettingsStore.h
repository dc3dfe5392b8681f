#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace stonereach {

// The user's persistent settings: string values by name under one key. The
// editor keeps them in QSettings; tests use the in-memory store.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the value is absent.
    virtual std::optional<std::string> value(std::string_view name) const = 0;
    virtual void setValue(std::string_view name, std::string_view value) = 0;
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> value(std::string_view name) const override {
        const auto it = values_.find(std::string(name));
        if (it == values_.end())
            return std::nullopt;
        return it->second;
    }
    void setValue(std::string_view name, std::string_view value) override {
        values_[std::string(name)] = std::string(value);
    }
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
};

// Names of the stored values.
namespace SettingNames {
inline constexpr std::string_view MapPath = "MAPx.mul";
inline constexpr std::string_view ClientDir = "UOPath";
inline constexpr std::string_view CoordX = "CoordX";
inline constexpr std::string_view CoordY = "CoordY";
inline constexpr std::string_view CoordZ = "CoordZ";
inline constexpr std::string_view ZoomLevel = "ZoomLevel";
inline constexpr std::string_view AltitudeModify = "AltitudeModify";
inline constexpr std::string_view ShowAltitude = "ShowAltitude";
inline constexpr std::string_view Grid = "Grid";
} // namespace SettingNames

} // namespace stonereach
