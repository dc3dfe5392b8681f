#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "mapdata/UopDirectory.h"
#include "mapdata/UopNameHash.h"
#include "support/TempDir.h"

namespace stonereach::test {

// How a test container is laid out. Built here byte by byte from the
// container's description, so the tests do not lean on the program's own
// writer: the ways shipped files and other tools differ can all be made.
struct ContainerShape {
    std::uint32_t version = 5;
    std::uint32_t recordsPerTable = 1000;
    std::uint32_t entryHeaderLength = 12;  // 12: version-4 style; other lengths: opaque bytes
    std::uint64_t firstTable = 0x200;
    // A free record (offset 0) after every this many used ones; 0: none.
    std::size_t freeRecordEvery = 0;
    // Entries in a random order in the file, and the tables after the first
    // one placed behind all entries in reverse chain order.
    bool shuffled = false;
    std::string stem = "map0legacymul";  // entry names: build/<stem>/%08d.dat
};

// One record as the test lays it down; a test may change it before writing.
using ContainerRecord = UopEntry;

inline std::string testEntryName(const std::string& stem, std::size_t i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08zu", i);
    return "build/" + stem + "/" + digits + ".dat";
}

// A map container on disk whose payloads hold the plain form of a map, laid
// out as ContainerShape says. Payload bytes are holes (zeros) until painted,
// so even a 90 MB map costs little; paint() writes plain-form bytes where
// the container keeps them.
class TestContainer {
public:
    // Entries of `entryBytes` (the last one what is left) holding
    // `payloadBytes` of map.
    TestContainer(std::filesystem::path path, std::uint64_t payloadBytes, const ContainerShape& shape = {},
                  std::uint64_t entryBytes = 0xC4000, std::uint32_t seed = 7)
        : path_(std::move(path)), shape_(shape) {
        for (std::uint64_t at = 0; at < payloadBytes; at += entryBytes)
            sizes_.push_back(static_cast<std::uint32_t>(std::min(entryBytes, payloadBytes - at)));
        layOut(seed);
    }

    const std::filesystem::path& path() const { return path_; }
    std::size_t entryCount() const { return sizes_.size(); }
    std::vector<ContainerRecord>& records() { return records_; }
    // The file offsets of every table, in chain order.
    const std::vector<std::uint64_t>& tableOffsets() const { return tables_; }
    std::uint64_t fileSize() const { return fileSize_; }

    // Where plain-form byte `offset` lies in the file.
    std::uint64_t fileOffsetOf(std::uint64_t offset) const {
        std::size_t i = 0;
        while (offset >= sizes_[i]) {
            offset -= sizes_[i];
            ++i;
        }
        return records_[i].offset + records_[i].headerLength + offset;
    }

    // Writes header, tables and entry headers (the records as they stand).
    void write(const std::function<void(std::vector<std::uint8_t>& header)>& editHeader = {}) const {
        {
            std::ofstream create(path_, std::ios::binary | std::ios::trunc);
        }
        std::filesystem::resize_file(path_, fileSize_);
        std::vector<std::uint8_t> header(40, 0);
        put(header, 0, 0x0050594D, 4);
        put(header, 4, shape_.version, 4);
        put(header, 8, 0xFD23EC43, 4);
        put(header, 12, shape_.firstTable, 8);
        put(header, 20, shape_.recordsPerTable, 4);
        put(header, 24, sizes_.size(), 4);
        if (editHeader)
            editHeader(header);
        at(0, header);
        for (std::size_t t = 0; t < tables_.size(); ++t) {
            std::vector<std::uint8_t> table(12 + 34 * std::size_t{shape_.recordsPerTable}, 0);
            put(table, 0, slots_[t].size(), 4);
            put(table, 4, t + 1 < tables_.size() ? tables_[t + 1] : 0, 8);
            for (std::size_t s = 0; s < slots_[t].size(); ++s) {
                if (slots_[t][s] < 0)
                    continue;  // a free record
                const ContainerRecord& r = records_[static_cast<std::size_t>(slots_[t][s])];
                const std::size_t p = 12 + 34 * s;
                put(table, p, r.offset, 8);
                put(table, p + 8, r.headerLength, 4);
                put(table, p + 12, r.storedSize, 4);
                put(table, p + 16, r.decompressedSize, 4);
                put(table, p + 20, r.nameHash, 8);
                put(table, p + 28, r.dataHash, 4);
                put(table, p + 32, r.compression, 2);
            }
            at(tables_[t], table);
        }
        for (const ContainerRecord& r : records_) {
            std::vector<std::uint8_t> entryHeader(r.headerLength, 0xA5);
            if (r.headerLength == 12) {
                put(entryHeader, 0, 3, 2);
                put(entryHeader, 2, 8, 2);
                put(entryHeader, 4, 0x01D5AABBCCDDEEFFull, 8);
            }
            at(r.offset, entryHeader);
        }
    }

    // Writes plain-form bytes into the payloads.
    void paint(std::uint64_t offset, const std::vector<std::uint8_t>& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            // Up to the end of the entry this byte is in.
            std::uint64_t inEntry = offset + done;
            std::size_t i = 0;
            while (inEntry >= sizes_[i])
                inEntry -= sizes_[i++];
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size() - done, sizes_[i] - inEntry));
            at(fileOffsetOf(offset + done), {bytes.begin() + static_cast<std::ptrdiff_t>(done),
                                             bytes.begin() + static_cast<std::ptrdiff_t>(done + count)});
            done += count;
        }
    }

    // Writes bytes at a file offset.
    void at(std::uint64_t offset, const std::vector<std::uint8_t>& bytes) const {
        std::fstream out(path_, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(offset));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static void put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }

private:
    void layOut(std::uint32_t seed) {
        const std::size_t n = sizes_.size();
        const std::size_t perTable = shape_.recordsPerTable;
        const std::size_t every = shape_.freeRecordEvery;
        // Which record each table slot holds; -1 for a free one. With free
        // records a table holds fewer entries, so there are more tables.
        std::vector<int> slots;
        for (std::size_t i = 0; i < n; ++i) {
            slots.push_back(static_cast<int>(i));
            if (every != 0 && (i + 1) % every == 0)
                slots.push_back(-1);
        }
        for (std::size_t s = 0; s < slots.size(); s += perTable)
            slots_.emplace_back(slots.begin() + static_cast<std::ptrdiff_t>(s),
                                slots.begin() + static_cast<std::ptrdiff_t>(std::min(slots.size(), s + perTable)));
        if (slots_.empty())
            slots_.emplace_back();

        std::vector<std::size_t> order(n);
        std::iota(order.begin(), order.end(), 0);
        if (shape_.shuffled)
            std::shuffle(order.begin(), order.end(), std::mt19937(seed));

        const std::uint64_t tableBytes = 12 + 34 * std::uint64_t{shape_.recordsPerTable};
        tables_.assign(slots_.size(), 0);
        std::uint64_t cursor = shape_.firstTable;
        tables_[0] = cursor;
        cursor += tableBytes;
        if (!shape_.shuffled)
            for (std::size_t t = 1; t < tables_.size(); ++t, cursor += tableBytes)
                tables_[t] = cursor;
        records_.resize(n);
        for (const std::size_t i : order) {
            ContainerRecord& r = records_[i];
            r.offset = cursor;
            r.headerLength = shape_.entryHeaderLength;
            r.storedSize = r.decompressedSize = sizes_[i];
            r.nameHash = uopNameHash(testEntryName(shape_.stem, i));
            r.dataHash = 0x12345678;
            cursor += shape_.entryHeaderLength + sizes_[i];
        }
        if (shape_.shuffled)
            for (std::size_t t = tables_.size(); t-- > 1; cursor += tableBytes)
                tables_[t] = cursor;
        fileSize_ = cursor;
    }

    std::filesystem::path path_;
    ContainerShape shape_;
    std::vector<std::uint32_t> sizes_;
    std::vector<std::vector<int>> slots_;
    std::vector<std::uint64_t> tables_;
    std::vector<ContainerRecord> records_;
    std::uint64_t fileSize_ = 0;
};

} // namespace stonereach::test
