#include "mapdata/UopWriter.h"

#include <algorithm>
#include <array>

#include <libdeflate.h>

#include "mapdata/FileSystem.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/UopNameHash.h"

namespace stonereach {

namespace L = UopLayout;

namespace {

constexpr std::uint64_t TableBytes = L::TableHeaderSize + std::uint64_t{L::WrittenCapacity} * L::RecordSize;

void put64(std::uint8_t* p, std::uint64_t v) {
    le::put32(p, static_cast<std::uint32_t>(v));
    le::put32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

// A small generator of our own, so the same seed lays a file out the same way
// whatever the standard library.
std::uint64_t splitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::size_t tablesFor(std::size_t entries) {
    return std::max<std::size_t>(1, (entries + L::WrittenCapacity - 1) / L::WrittenCapacity);
}

} // namespace

std::array<std::uint8_t, L::EntryHeaderSize> uopEntryHeader() {
    // Word 3, word 8, then a FILETIME left at zero: the same input always
    // gives the same file.
    std::array<std::uint8_t, L::EntryHeaderSize> header{};
    le::put16(&header[0], L::EntryHeaderWord0);
    le::put16(&header[2], L::EntryHeaderWord1);
    return header;
}

UopContainerPlan planUopContainer(std::span<const UopEntryToWrite> entries, std::optional<std::uint64_t> shuffleSeed) {
    UopContainerPlan plan;
    plan.entryOffsets.resize(entries.size());
    std::uint64_t state = shuffleSeed.value_or(0);
    std::uint64_t at = L::WrittenFirstTable;
    for (std::size_t t = 0; t < tablesFor(entries.size()); ++t) {
        plan.tableOffsets.push_back(at);
        at += TableBytes;
        const std::size_t first = t * L::WrittenCapacity;
        const std::size_t count = std::min<std::size_t>(L::WrittenCapacity, entries.size() - std::min(first, entries.size()));
        std::vector<std::size_t> order(count);
        for (std::size_t i = 0; i < count; ++i)
            order[i] = first + i;
        if (shuffleSeed)
            for (std::size_t i = count; i > 1; --i)
                std::swap(order[i - 1], order[splitMix(state) % i]);
        for (const std::size_t e : order) {
            plan.entryOffsets[e] = at;
            at += L::EntryHeaderSize + entries[e].storedSize;
        }
    }
    plan.fileSize = at;
    return plan;
}

void writeUopStructure(File& file, std::span<const UopEntryToWrite> entries, const UopContainerPlan& plan) {
    std::vector<std::uint8_t> header(L::WrittenFirstTable, 0);
    le::put32(&header[L::MagicField], L::Magic);
    le::put32(&header[L::VersionField], L::Version);
    le::put32(&header[L::SignatureField], L::Signature);
    put64(&header[L::FirstTableField], plan.tableOffsets.front());
    le::put32(&header[L::CapacityField], L::WrittenCapacity);
    le::put32(&header[L::EntryCountField], static_cast<std::uint32_t>(entries.size()));
    file.writeAt(0, header);

    const auto entryHeader = uopEntryHeader();
    const std::uint32_t dataHash = libdeflate_adler32(1, entryHeader.data(), entryHeader.size());
    std::vector<std::uint8_t> table(TableBytes);
    for (std::size_t t = 0; t < plan.tableOffsets.size(); ++t) {
        std::fill(table.begin(), table.end(), std::uint8_t{0});
        const std::size_t first = t * L::WrittenCapacity;
        const std::size_t count = std::min<std::size_t>(L::WrittenCapacity, entries.size() - std::min(first, entries.size()));
        le::put32(&table[L::TableCountField], static_cast<std::uint32_t>(count));
        put64(&table[L::TableNextField], t + 1 < plan.tableOffsets.size() ? plan.tableOffsets[t + 1] : 0);
        for (std::size_t i = 0; i < count; ++i) {
            const UopEntryToWrite& e = entries[first + i];
            std::uint8_t* r = &table[L::TableHeaderSize + i * L::RecordSize];
            put64(r + L::RecordOffsetField, plan.entryOffsets[first + i]);
            le::put32(r + L::RecordHeaderLengthField, static_cast<std::uint32_t>(L::EntryHeaderSize));
            le::put32(r + L::RecordStoredSizeField, e.storedSize);
            le::put32(r + L::RecordDecompressedSizeField, e.decompressedSize);
            put64(r + L::RecordNameHashField, uopNameHash(e.name));
            le::put32(r + L::RecordDataHashField, dataHash);
            le::put16(r + L::RecordCompressionField, e.compression);
        }
        file.writeAt(plan.tableOffsets[t], table);
        for (std::size_t i = 0; i < count; ++i)
            file.writeAt(plan.entryOffsets[first + i], entryHeader);
    }
}

void writeUopFile(const std::filesystem::path& target, std::span<const UopPayload> entries,
                  std::optional<std::uint64_t> shuffleSeed) {
    std::vector<UopEntryToWrite> layout;
    layout.reserve(entries.size());
    for (const UopPayload& e : entries)
        layout.push_back({e.name, static_cast<std::uint32_t>(e.bytes.size()), e.decompressedSize, e.compression});
    const UopContainerPlan plan = planUopContainer(layout, shuffleSeed);
    PendingFile out(target);
    out.file().allocate(plan.fileSize);
    writeUopStructure(out.file(), layout, plan);
    for (std::size_t i = 0; i < entries.size(); ++i)
        out.file().writeAt(plan.payloadOffset(i), entries[i].bytes);
    out.commit();
}

} // namespace stonereach
