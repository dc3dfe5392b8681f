#include "mapdata/NumberedSections.h"

namespace stonereach {

namespace {

// The keys with the values that go with them in one section.
std::vector<IniDocument::KeyValue> keyValues(std::span<const NumberedSectionKey> keys) {
    std::vector<IniDocument::KeyValue> pairs;
    pairs.reserve(keys.size());
    for (const NumberedSectionKey& key : keys)
        pairs.push_back({key.name, key.missingValue});
    return pairs;
}

} // namespace

std::vector<std::optional<std::vector<std::string>>> readNumberedSections(const IniDocument& doc,
                                                                          std::span<const NumberedSectionKey> keys) {
    const std::vector<IniDocument::KeyValue> missing = keyValues(keys);
    std::vector<std::optional<std::vector<std::string>>> rows(doc.sectionLineCount());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = doc.read(std::to_string(i), missing);
    return rows;
}

IniDocument numberedSectionsDocument(std::span<const NumberedSectionKey> keys,
                                     std::span<const std::vector<std::string>> rows) {
    IniDocument doc;
    std::vector<IniDocument::KeyValue> values = keyValues(keys);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t k = 0; k < keys.size(); ++k)
            values[k].value = k < rows[i].size() ? std::string_view(rows[i][k]) : std::string_view();
        doc.write(std::to_string(i), values);
    }
    return doc;
}

void writeNumberedSections(const std::filesystem::path& path, std::span<const NumberedSectionKey> keys,
                           std::span<const std::vector<std::string>> rows) {
    numberedSectionsDocument(keys, rows).save(path);
}

} // namespace stonereach
