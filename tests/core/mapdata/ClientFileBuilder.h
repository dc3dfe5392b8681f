#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "mapdata/IndexRecord.h"
#include "mapdata/LittleEndian.h"
#include "support/TempDir.h"

namespace stonereach::test {

// Builds an index file and its data file in memory: entries are appended to
// the data and their records set by id; write() stores both.
class IndexedFileBuilder {
public:
    explicit IndexedFileBuilder(std::uint32_t ids) : records_(ids) {}

    // Appends data and points record id at it with the given length field.
    void add(std::uint32_t id, const std::vector<std::uint8_t>& bytes, std::int32_t length) {
        records_.at(id) = IndexRecord{static_cast<std::int32_t>(data_.size()), length, 0};
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }
    void add(std::uint32_t id, const std::vector<std::uint8_t>& bytes) {
        add(id, bytes, static_cast<std::int32_t>(bytes.size()));
    }
    void setRecord(std::uint32_t id, IndexRecord record) { records_.at(id) = record; }
    std::vector<std::uint8_t>& data() { return data_; }

    void write(const std::filesystem::path& indexPath, const std::filesystem::path& dataPath) const {
        std::vector<std::uint8_t> index;
        for (const auto& record : records_) {
            const auto bytes = encodeIndexRecord(record);
            index.insert(index.end(), bytes.begin(), bytes.end());
        }
        writeBytes(indexPath, index);
        writeBytes(dataPath, data_);
    }

private:
    std::vector<IndexRecord> records_;
    std::vector<std::uint8_t> data_;
};

// Little-endian bytes of 16-bit words.
inline std::vector<std::uint8_t> wordBytes(const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> bytes(words.size() * 2);
    for (std::size_t i = 0; i < words.size(); ++i)
        le::put16(bytes.data() + 2 * i, words[i]);
    return bytes;
}

// count words numbered first, first + 1, ...
inline std::vector<std::uint16_t> numberedWords(std::size_t count, std::uint16_t first = 1) {
    std::vector<std::uint16_t> words(count);
    for (std::size_t i = 0; i < count; ++i)
        words[i] = static_cast<std::uint16_t>(first + i);
    return words;
}

} // namespace stonereach::test
