#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace stonereach {

// An INI profile file held in memory: sections of key = value lines. Section
// and key names match without regard to case, the first of duplicate names
// wins, blanks around names and values are dropped, and lines before the
// first section or starting with ';' are ignored. The file is parsed once, so
// a list of many thousand sections reads in linear time.
class IniDocument {
public:
    // Reads the file; a file that does not exist reads as an empty document.
    static IniDocument load(const std::filesystem::path& path);
    static IniDocument parse(std::string_view text);

    // The value, or defaultValue when the section or key is missing.
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // Sets the value, adding the section and key at the end when missing.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // A key and a value: the value to write, or the one a missing key reads
    // as.
    struct KeyValue {
        std::string_view key;
        std::string_view value;
    };
    // Several keys of one section, looked up once for all of them (lists of
    // thousands of sections are read and written a section at a time): the
    // values in the keys' order, each as read() gives it; nothing when the
    // section is missing.
    std::optional<std::vector<std::string>> read(std::string_view section, std::span<const KeyValue> keys) const;
    // Sets each value as write() does, in order.
    void write(std::string_view section, std::span<const KeyValue> values);

    // How many lines of the file as loaded begin with "[" and end with "]",
    // as they stand; entry lists use it as their entry count. Sections added
    // in memory count too.
    std::size_t sectionLineCount() const { return sectionLineCount_; }

    // The whole document as text with CR LF line ends.
    std::string text() const;
    // Writes the whole document to path atomically: a failed save leaves the
    // previous file as it was.
    void save(const std::filesystem::path& path) const;

private:
    // Names match without regard to ASCII case; looked up as string views,
    // so that a read makes no copy of the name it looks for.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, NameEqual>;

    struct Entry {
        std::string key;
        std::string value;
    };
    // Names are searched in order while there are a few (a point patch list
    // has thousands of sections of four keys each); an index is built once a
    // section holds IndexedFrom keys, or the document IndexedFrom sections.
    static constexpr std::size_t IndexedFrom = 16;
    struct Section {
        std::string name;
        std::vector<Entry> entries;  // one per key: a repeated key is not added
        NameIndex keyIndex;          // key -> entry, from IndexedFrom entries on

        const Entry* find(std::string_view key) const;
        Entry* find(std::string_view key) { return const_cast<Entry*>(std::as_const(*this).find(key)); }
        void add(std::string_view key, std::string_view value);
    };

    // The item called `name` (searched in order while there are fewer than
    // IndexedFrom, else through the index), or null.
    template <class Item>
    static const Item* findNamed(const std::vector<Item>& items, const NameIndex& index, std::string Item::*nameOf,
                                 std::string_view name);
    // Indexes the item just added at the end, from IndexedFrom items on.
    template <class Item>
    static void indexLast(const std::vector<Item>& items, NameIndex& index, std::string Item::*nameOf);

    const Section* findSection(std::string_view name) const;
    Section& sectionFor(std::string_view name);

    std::vector<Section> sections_;
    NameIndex sectionIndex_;  // name -> section, from IndexedFrom sections on
    std::size_t sectionLineCount_ = 0;
};

} // namespace stonereach
