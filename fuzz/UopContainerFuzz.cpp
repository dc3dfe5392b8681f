// The UOP container reader on any bytes, read from memory: the directory, the
// map entries found by name and their plain form, and land art entries.
// Whatever the bytes, reading either works or is refused with a
// ContainerError (or, for art, an IoError naming the file); every table and
// entry it accepts lies inside the file; the map's pieces follow one another
// in the plain form, each inside its entry's payload, none overlapping
// another; and reading the plain form touches nothing but those payloads.
//
// Input: names choice (1 byte), art tile id (2), plain-form read offset (4)
// and length (2); the rest is the container.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "mapdata/ArtContainer.h"
#include "mapdata/ByteSource.h"
#include "mapdata/Errors.h"
#include "mapdata/MapContainer.h"
#include "mapdata/UopDirectory.h"

namespace {

using namespace stonereach;
using fuzz::take;

// Stems that seeds use (the first two match the names make-seeds writes).
constexpr std::array<const char*, 4> stems = {"map0legacymul", "map2xlegacymul", "map5legacymul", "artlegacymul"};

// Bytes in memory that may only be read inside the ranges allowed.
class FencedSource final : public ByteSource {
public:
    FencedSource(const ByteSource& inner, std::vector<std::pair<std::uint64_t, std::uint64_t>> allowed)
        : inner_(inner), allowed_(std::move(allowed)) {}

    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override {
        check(offset, buffer.size());
        inner_.readAt(offset, buffer);
    }
    std::size_t readUpTo(std::uint64_t offset, std::span<std::uint8_t> buffer) const override {
        check(offset, buffer.size());
        return inner_.readUpTo(offset, buffer);
    }
    std::uint64_t size() const override { return inner_.size(); }
    std::string sourceName() const override { return inner_.sourceName(); }

private:
    void check(std::uint64_t offset, std::size_t count) const {
        if (count == 0)
            return;
        const bool inside = std::any_of(allowed_.begin(), allowed_.end(), [&](const auto& range) {
            return offset >= range.first && offset + count <= range.second;
        });
        FUZZ_CHECK(inside);
    }

    const ByteSource& inner_;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> allowed_;
};

void checkDirectory(const ByteSource& source) {
    try {
        const UopDirectory directory = readUopDirectory(source);
        for (const UopTable& table : directory.tables)
            FUZZ_CHECK(table.offset >= 40 && table.end() <= source.size());
        for (const UopEntry& entry : directory.entries) {
            FUZZ_CHECK(entry.offset != 0 && entry.end() <= source.size());
            FUZZ_CHECK(directory.find(entry.nameHash) != nullptr);
        }
    } catch (const ContainerError&) {
    }
}

void checkMap(const ByteSource& source, const MapEntryNames& names, std::uint64_t readAt, std::size_t readLength) {
    OpenedMapContainer map;
    try {
        map = openMapContainer(source, names);
    } catch (const ContainerError&) {
        return;
    }
    std::uint64_t plain = 0;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> inFile;
    for (const auto& piece : map.extents.pieces()) {
        FUZZ_CHECK(piece.plainOffset == plain && piece.length > 0);
        FUZZ_CHECK(piece.fileOffset >= 40 && piece.fileOffset + piece.length <= source.size());
        inFile.emplace_back(piece.fileOffset, piece.fileOffset + piece.length);
        plain += piece.length;
    }
    FUZZ_CHECK(plain + (map.info.trailingBlock ? 196 : 0) == map.info.payloadBytes);
    std::sort(inFile.begin(), inFile.end());
    for (std::size_t i = 1; i < inFile.size(); ++i)
        FUZZ_CHECK(inFile[i - 1].second <= inFile[i].first);

    // A read of the plain form comes from the payloads alone, byte for byte
    // from where each piece says.
    const FencedSource fenced(source, inFile);
    std::vector<std::uint8_t> bytes(readLength);
    try {
        readMapBytes(fenced, map.extents, readAt, bytes);
        FUZZ_CHECK(readAt + readLength <= plain);
        for (std::size_t i = 0; i < readLength; ++i) {
            const std::uint64_t at = readAt + i;
            const auto& pieces = map.extents.pieces();
            const auto piece = std::find_if(pieces.begin(), pieces.end(), [&](const auto& p) {
                return at >= p.plainOffset && at < p.plainOffset + p.length;
            });
            FUZZ_CHECK(piece != pieces.end());
            std::array<std::uint8_t, 1> expected{};
            source.readAt(piece->fileOffset + (at - piece->plainOffset), expected);
            FUZZ_CHECK(bytes[i] == expected[0]);
        }
    } catch (const IoError&) {
        FUZZ_CHECK(readAt + readLength > plain);
    }
}

void checkArt(const ByteSource& source, std::uint16_t id) {
    try {
        ArtContainer art(source);
        TileImage image(3, 2, 7);
        if (loadLandArtImage(art, id, image))
            FUZZ_CHECK((image.width == 45 && image.height == 45) || id == 7 || id == 8);
        else
            FUZZ_CHECK(image.width == 3 && image.pixels == std::vector<std::uint16_t>(6, 7));
        (void)art.takeNotice();
    } catch (const ContainerError&) {
    } catch (const IoError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const auto choice = take<std::uint8_t>(input);
    const auto artId = take<std::uint16_t>(input);
    const auto readAt = take<std::uint32_t>(input) % (1u << 20);
    const auto readLength = take<std::uint16_t>(input) % 4096u;

    const MemoryByteSource source(input, "fuzz.uop");
    MapEntryNames names{stems[choice % stems.size()], std::nullopt};
    if (choice & 0x10)
        names.facet = (choice >> 5) % 6;
    checkDirectory(source);
    checkMap(source, names, readAt, readLength);
    checkArt(source, artId);
    return 0;
}
