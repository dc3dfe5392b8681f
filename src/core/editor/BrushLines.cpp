#include "editor/BrushLines.h"

#include "editor/TextFile.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

// Trailing blanks, and any other control character a text editor may leave.
std::string_view trimRight(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<BrushEntry> parseBrushLine(std::string_view line) {
    const std::size_t firstComma = line.find(',');
    const std::size_t lastComma = line.rfind(',');
    if (firstComma == std::string_view::npos || firstComma == lastComma)
        return std::nullopt;

    const auto dx = readInteger(line.substr(0, firstComma));
    const auto tile = readInteger(trimRight(line.substr(lastComma + 1)));
    if (!dx || !tile)
        return std::nullopt;
    std::optional<std::int32_t> dy;
    for (std::size_t start = firstComma + 1; start <= lastComma;) {
        const std::size_t end = line.find(',', start);
        dy = readInteger(line.substr(start, end - start));
        if (!dy)
            return std::nullopt;
        start = end + 1;
    }
    return BrushEntry{*dx, *dy, *tile};
}

std::vector<BrushEntry> parseBrushLines(std::span<const std::string> lines) {
    std::vector<BrushEntry> entries;
    for (const std::string& line : lines)
        if (const auto entry = parseBrushLine(line))
            entries.push_back(*entry);
    return entries;
}

std::vector<BrushEntry> readBrushFile(const std::filesystem::path& path) {
    return parseBrushLines(splitLines(readTextFile(path)));
}

} // namespace stonereach
