#include "mapdata/NumberedSections.h"

namespace stonereach {

std::vector<std::optional<std::vector<std::string>>> readNumberedSections(const IniDocument& doc,
                                                                          std::span<const NumberedSectionKey> keys) {
    std::vector<std::optional<std::vector<std::string>>> rows(doc.sectionLineCount());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string section = std::to_string(i);
        if (!doc.hasSection(section))
            continue;
        std::vector<std::string> values;
        values.reserve(keys.size());
        for (const NumberedSectionKey& key : keys)
            values.push_back(doc.read(section, key.name, key.missingValue));
        rows[i] = std::move(values);
    }
    return rows;
}

IniDocument numberedSectionsDocument(std::span<const NumberedSectionKey> keys,
                                     std::span<const std::vector<std::string>> rows) {
    IniDocument doc;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string section = std::to_string(i);
        for (std::size_t k = 0; k < keys.size(); ++k)
            doc.write(section, keys[k].name, k < rows[i].size() ? rows[i][k] : std::string());
    }
    return doc;
}

void writeNumberedSections(const std::filesystem::path& path, std::span<const NumberedSectionKey> keys,
                           std::span<const std::vector<std::string>> rows) {
    numberedSectionsDocument(keys, rows).save(path);
}

} // namespace stonereach
