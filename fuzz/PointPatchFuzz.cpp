// Point patch files (.bnp) read and applied to a small map held in memory:
// any text either applies or stops at the entry that does not parse, and only
// ever writes the three bytes of cells inside the map. Writing the entries
// read and reading them back gives the same entries.
//
// Input: the .bnp file's text.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SmallMap.h"
#include "mapdata/Errors.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapLayout.h"
#include "patches/PointPatch.h"

namespace {

using namespace stonereach;

constexpr MapGeometry geometry = fuzz::smallMapGeometry;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto mapPath = fuzz::memoryFolder() / "map0.mul";
    const auto& before = fuzz::smallPatternMap();
    fuzz::writeFile(mapPath, before);

    const auto entries = parsePointPatch({reinterpret_cast<const char*>(data), size});
    try {
        MapFile map(mapPath, File::Mode::ReadWrite);
        const PointPatchResult result = applyPointPatch(map, geometry, entries);
        FUZZ_CHECK(result.applied + result.skippedOutsideMap + result.skippedMissing == entries.size());
    } catch (const FormatError& e) {
        // The message names an entry that the check alone also finds wrong.
        const std::string message = e.what();
        const std::size_t at = message.rfind(" (entry [");
        FUZZ_CHECK(at != std::string::npos);
        const std::size_t index = std::stoul(message.substr(at + 9));
        FUZZ_CHECK(index < entries.size() && entries[index]);
        const auto problem = pointPatchEntryProblem(*entries[index]);
        FUZZ_CHECK(problem && message.ends_with("], " + problem->key() + ")"));
    }

    // Only cell bytes change; block headers and the file's size never do.
    // (Compared a header at a time: a loop over every byte would cost more
    // than the rest of the run.)
    const auto after = fuzz::readFile(mapPath);
    FUZZ_CHECK(after.size() == before.size());
    for (std::size_t block = 0; block < after.size(); block += MapLayout::BlockSize)
        FUZZ_CHECK(std::memcmp(&after[block], &before[block], MapLayout::BlockHeaderSize) == 0);

    // The entries survive being written and read back.
    std::vector<PointPatchEntry> present;
    for (const auto& entry : entries)
        if (entry)
            present.push_back(*entry);
    const auto reread = parsePointPatch(pointPatchText(present));
    FUZZ_CHECK(reread.size() == present.size());
    for (std::size_t i = 0; i < present.size(); ++i)
        FUZZ_CHECK(reread[i] && *reread[i] == present[i]);
    return 0;
}
