#include "editor/SelectionGroupRows.h"

#include "mapdata/Blanks.h"
#include "editor/TextFile.h"

namespace stonereach {

namespace {

bool needsQuotes(std::string_view id) {
    if (id.empty())
        return true;  // else it would vanish between two commas
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == ',' || c == '"')
            return true;
    }
    return false;
}

} // namespace

std::string groupItemsText(const std::vector<std::string>& tileIds) {
    std::string items;
    for (const std::string& id : tileIds) {
        if (!items.empty())
            items += ',';
        if (!needsQuotes(id)) {
            items += id;
            continue;
        }
        items += '"';
        for (const char c : id) {
            if (c == '"')
                items += '"';
            items += c;
        }
        items += '"';
    }
    return items;
}

std::vector<std::string> tileIdsOfItemsText(std::string_view items) {
    std::vector<std::string> ids;
    std::size_t pos = 0;
    while (pos <= items.size()) {
        std::size_t start = pos;
        while (start < items.size() && isBlankOrBreak(items[start]))
            ++start;
        if (start < items.size() && items[start] == '"') {
            // A quoted id runs to its closing quote, commas included; "" in
            // it is one quote. Text after the closing quote joins the id.
            std::string id;
            std::size_t i = start + 1;
            while (i < items.size()) {
                if (items[i] == '"') {
                    if (i + 1 < items.size() && items[i + 1] == '"') {
                        id += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                id += items[i++];
            }
            const std::size_t comma = std::min(items.find(',', i), items.size());
            id += trimBlanks(items.substr(i, comma - i));
            ids.push_back(std::move(id));
            pos = comma + 1;
            continue;
        }
        const std::size_t comma = std::min(items.find(',', start), items.size());
        const std::string_view id = trimBlanks(items.substr(start, comma - start));
        if (!id.empty())
            ids.emplace_back(id);
        pos = comma + 1;
    }
    return ids;
}

std::optional<std::string> groupItemsProblem(std::string_view itemsText) {
    const std::vector<std::string> ids = tileIdsOfItemsText(itemsText);
    if (ids.empty())
        return "the group holds no tile id";
    for (const std::string& id : ids)
        if (!tileIdOfText(id))
            return "\"" + latin1ToUtf8(id) + "\" is not a tile id (0 to 65535)";
    return std::nullopt;
}

SelectionGroupRow groupRowOf(const TTileNamed& group) { return {group.TileName, groupItemsText(group.TileIds)}; }

TTileNamed groupOfRow(const SelectionGroupRow& row) { return {row.caption, tileIdsOfItemsText(row.items)}; }

} // namespace stonereach
