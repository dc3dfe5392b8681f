// Selection group files (tilelist.xml) read with expat: any bytes give the
// groups completed before the first fault, and those groups survive being
// written in the program's layout and read back. Checking a group for
// painting either gives its tile ids or refuses it.
//
// Input: the file's bytes.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "editor/SelectionGroups.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"

namespace {

using namespace stonereach;

// What writing keeps of a text: control characters other than tab become
// blanks.
std::string asWritten(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            c = ' ';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    const SelectionGroupsRead read = parseSelectionGroups(xml, "tilelist.xml");
    if (read.problem)
        FUZZ_CHECK(read.problem->find("tilelist.xml") != std::string::npos);

    std::vector<TTileNamed> expected;
    for (const TTileNamed& group : read.groups) {
        TTileNamed written{asWritten(group.TileName), {}};
        for (const std::string& id : group.TileIds) {
            FUZZ_CHECK(!id.empty());
            written.TileIds.push_back(asWritten(id));
        }
        expected.push_back(written);

        try {
            const auto tiles = groupTileIds(group);
            FUZZ_CHECK(tiles.size() == group.TileIds.size());
            for (std::size_t i = 0; i < tiles.size(); ++i)
                FUZZ_CHECK(parseInteger(group.TileIds[i]) == tiles[i]);
        } catch (const Refusal& e) {
            FUZZ_CHECK(std::string_view(e.what()).starts_with("The selection group \""));
        }
    }

    const SelectionGroupsRead reread = parseSelectionGroups(selectionGroupsText(read.groups), "again.xml");
    FUZZ_CHECK(!reread.problem);
    FUZZ_CHECK(reread.groups == expected);
    return 0;
}
