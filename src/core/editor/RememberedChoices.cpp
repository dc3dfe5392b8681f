#include "editor/RememberedChoices.h"

#include "mapdata/IntegerText.h"

namespace stonereach {

namespace N = RememberedChoiceNames;

namespace {

std::optional<std::string> nonEmpty(std::optional<std::string> text) {
    if (text && text->empty())
        return std::nullopt;
    return text;
}

std::optional<std::uint16_t> tileOf(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    const auto value = readInteger(*text);
    if (value && *value >= 0 && *value <= 0xFFFF)
        return static_cast<std::uint16_t>(*value);
    return std::nullopt;
}

} // namespace

RememberedChoices loadRememberedChoices(const SettingsStore& store) {
    RememberedChoices choices;
    choices.selectedTile = tileOf(store.value(N::SelectedTile));
    choices.tileList = nonEmpty(store.value(N::TileList));
    choices.customBrush = nonEmpty(store.value(N::CustomBrush));
    choices.drawingMode = nonEmpty(store.value(N::DrawingMode));
    return choices;
}

void saveRememberedChoices(SettingsStore& store, const RememberedChoices& choices) {
    store.setValue(N::SelectedTile, choices.selectedTile ? std::to_string(*choices.selectedTile) : std::string());
    store.setValue(N::TileList, choices.tileList.value_or(std::string()));
    store.setValue(N::CustomBrush, choices.customBrush.value_or(std::string()));
    store.setValue(N::DrawingMode, choices.drawingMode.value_or(std::string()));
}

} // namespace stonereach
