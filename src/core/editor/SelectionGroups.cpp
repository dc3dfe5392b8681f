#include "editor/SelectionGroups.h"

#include <expat.h>

#include <climits>
#include <memory>

#include "editor/TextFile.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace {

// UTF-8 from the parser back to the file's 8-bit bytes. A character beyond
// Latin-1 (only a character reference can bring one in) becomes "?".
std::string utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < text.size()) {
            const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            out += code <= 0xFF ? static_cast<char>(code) : '?';
            i += 2;
        } else {
            out += '?';
            std::size_t length = (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 1;
            i += length;
        }
    }
    return out;
}

// Follows the parser's events. Character data may come in several pieces for
// one element, so it is gathered and used when the next tag begins or ends.
class GroupReader {
public:
    explicit GroupReader(std::vector<TTileNamed>& groups) : groups_(groups) {}

    void startElement(std::string_view name) {
        useText();
        open_.emplace_back(name);
        if (name == "Tile")
            tileIds_.clear();
    }

    void endElement(std::string_view name) {
        useText();
        if (!open_.empty())
            open_.pop_back();
        if (name == "Tile")
            groups_.push_back(TTileNamed{name_, tileIds_});
    }

    void characterData(std::string_view data) {
        text_.append(data);
        hasText_ = true;
    }

private:
    void useText() {
        if (!hasText_)
            return;
        if (!open_.empty()) {
            if (open_.back() == "Name")
                name_ = utf8ToLatin1(text_);
            else if (open_.back() == "TileId")
                tileIds_.push_back(utf8ToLatin1(text_));
        }
        text_.clear();
        hasText_ = false;
    }

    std::vector<TTileNamed>& groups_;
    std::vector<std::string> open_;  // the elements open now, innermost last
    std::string name_;
    std::vector<std::string> tileIds_;
    std::string text_;
    bool hasText_ = false;
};

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default:
            // No XML file may hold these; a line break would also break the
            // file's one-element-per-line layout.
            out += static_cast<unsigned char>(c) < 0x20 && c != '\t' ? ' ' : c;
        }
    }
}

} // namespace

SelectionGroupsRead parseSelectionGroups(std::string_view xml, std::string_view fileName) {
    SelectionGroupsRead result;
    GroupReader reader(result.groups);
    // The file is 8-bit text without an encoding declaration; read it as
    // Latin-1 whatever it declares, so no byte is refused.
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate("ISO-8859-1"));
    if (!parser)
        throw std::bad_alloc();
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(
        parser.get(),
        [](void* data, const XML_Char* name, const XML_Char**) { static_cast<GroupReader*>(data)->startElement(name); },
        [](void* data, const XML_Char* name) { static_cast<GroupReader*>(data)->endElement(name); });
    XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int length) {
        static_cast<GroupReader*>(data)->characterData({text, static_cast<std::size_t>(length)});
    });

    // Fed in pieces that fit the parser's int lengths.
    constexpr std::size_t kPiece = 1 << 20;
    bool ok = true;
    std::size_t pos = 0;
    do {
        const std::size_t length = std::min(kPiece, xml.size() - pos);
        const bool last = pos + length == xml.size();
        ok = XML_Parse(parser.get(), xml.data() + pos, static_cast<int>(length), last) == XML_STATUS_OK;
        pos += length;
    } while (ok && pos < xml.size());

    if (!ok) {
        result.problem = "The selection groups in '" + std::string(fileName) + "' are not well-formed at line " +
                         std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                         XML_ErrorString(XML_GetErrorCode(parser.get())) + ". The groups after that point were not read.";
    }
    return result;
}

SelectionGroupsRead readSelectionGroups(const std::filesystem::path& path) {
    if (!fileExists(path))
        return {};
    return parseSelectionGroups(readTextFile(path), path.string());
}

std::string selectionGroupsText(std::span<const TTileNamed> groups) {
    std::string text = "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n";
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const TTileNamed& group = groups[g];
        const std::string id = std::to_string(g);
        text += "  <Tile id=\"" + id + "\">\r\n";
        text += "    <Name id=\"" + id + "\">";
        appendEscaped(text, group.TileName);
        text += "</Name>\r\n";
        for (std::size_t t = 0; t < group.TileIds.size(); ++t) {
            text += "    <TileId id=\"" + std::to_string(t) + "\">";
            appendEscaped(text, group.TileIds[t]);
            text += "</TileId>\r\n";
        }
        text += "  </Tile>\r\n";
    }
    text += "</TileList>\r\n";
    return text;
}

void writeSelectionGroups(const std::filesystem::path& path, std::span<const TTileNamed> groups) {
    writeTextFile(path, selectionGroupsText(groups));
}

std::vector<std::uint16_t> groupTileIds(const TTileNamed& group) {
    const std::string name = latin1ToUtf8(group.TileName);
    if (group.TileIds.empty())
        throw Refusal("The selection group \"" + name + "\" holds no tile ids; nothing was painted.");
    std::vector<std::uint16_t> tiles;
    tiles.reserve(group.TileIds.size());
    for (const std::string& text : group.TileIds) {
        const std::optional<std::uint16_t> tile = tileIdOfText(text);
        if (!tile)
            throw Refusal("The selection group \"" + name + "\" holds \"" + latin1ToUtf8(text) +
                          "\", which is not a tile id (0 to 65535); nothing was painted.");
        tiles.push_back(*tile);
    }
    return tiles;
}

std::optional<std::uint16_t> tileIdOfText(std::string_view text) {
    const std::int32_t value = readInteger(text).value_or(-1);
    if (!isTileId(value))
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace stonereach
