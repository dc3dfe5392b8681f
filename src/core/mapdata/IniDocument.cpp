#include "mapdata/IniDocument.h"

#include <array>

#include "mapdata/Blanks.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

namespace {

// Profile files larger than this are not profile files; refusing them keeps a
// wrong file choice from taking the program's memory.
constexpr std::uint64_t kMaxProfileSize = std::uint64_t{512} * 1024 * 1024;

} // namespace

IniDocument IniDocument::load(const std::filesystem::path& path) {
    if (!fileExists(path))
        return IniDocument{};
    const File file(path, File::Mode::Read);
    const std::uint64_t size = file.size();
    if (size > kMaxProfileSize)
        throw IoError(path.string(), "File is too large to be a profile file");
    std::string text(static_cast<std::size_t>(size), '\0');
    const std::size_t got =
        file.readUpTo(0, std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
    text.resize(got);
    return parse(text);
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    Section* current = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (!line.empty() && line.front() == '[' && line.back() == ']')
            ++doc.sectionLineCount_;

        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        if (trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            if (close == std::string_view::npos)
                continue;
            current = &doc.sectionFor(trimBlanks(trimmed.substr(1, close - 1)));
            continue;
        }
        const auto eq = trimmed.find('=');
        if (current == nullptr || eq == std::string_view::npos)
            continue;
        const std::string_view key = trimBlanks(trimmed.substr(0, eq));
        if (current->find(key) == nullptr)
            current->add(key, trimBlanks(trimmed.substr(eq + 1)));
    }
    return doc;
}

namespace {

// Looked up rather than compared: names are matched a character at a time
// on every read and every line parsed, and a table costs no branches.
constexpr auto kLowerAscii = [] {
    std::array<unsigned char, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table;
}();

unsigned char lowerAscii(char c) { return kLowerAscii[static_cast<unsigned char>(c)]; }

} // namespace

std::size_t IniDocument::NameHash::operator()(std::string_view name) const noexcept {
    std::size_t hash = 14695981039346656037ULL;  // FNV-1a over the lower-case bytes
    for (const char c : name)
        hash = (hash ^ lowerAscii(c)) * 1099511628211ULL;
    return hash;
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

template <class Item>
const Item* IniDocument::findNamed(const std::vector<Item>& items, const NameIndex& index, std::string Item::*nameOf,
                                   std::string_view name) {
    if (items.size() < IndexedFrom) {
        for (const Item& item : items)
            if (NameEqual{}(item.*nameOf, name))
                return &item;
        return nullptr;
    }
    const auto it = index.find(name);
    return it == index.end() ? nullptr : &items[it->second];
}

template <class Item>
void IniDocument::indexLast(const std::vector<Item>& items, NameIndex& index, std::string Item::*nameOf) {
    if (items.size() == IndexedFrom) {
        for (std::size_t i = 0; i < items.size(); ++i)
            index.emplace(items[i].*nameOf, i);
    } else if (items.size() > IndexedFrom) {
        index.emplace(items.back().*nameOf, items.size() - 1);
    }
}

const IniDocument::Entry* IniDocument::Section::find(std::string_view key) const {
    return findNamed(entries, keyIndex, &Entry::key, key);
}

void IniDocument::Section::add(std::string_view key, std::string_view value) {
    // Room for the four keys of a list entry (a point patch, a coordinate)
    // at once, rather than growing one, two, four.
    if (entries.empty())
        entries.reserve(4);
    entries.push_back({std::string(key), std::string(value)});
    indexLast(entries, keyIndex, &Entry::key);
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
    return findNamed(sections_, sectionIndex_, &Section::name, name);
}

IniDocument::Section& IniDocument::sectionFor(std::string_view name) {
    if (const Section* found = findSection(name))
        return sections_[static_cast<std::size_t>(found - sections_.data())];
    sections_.push_back(Section{std::string(name), {}, {}});
    indexLast(sections_, sectionIndex_, &Section::name);
    return sections_.back();
}

std::string IniDocument::read(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    const Section* s = findSection(section);
    const Entry* entry = s == nullptr ? nullptr : s->find(key);
    return entry == nullptr ? std::string(defaultValue) : entry->value;
}

std::optional<std::vector<std::string>> IniDocument::read(std::string_view section,
                                                          std::span<const KeyValue> keys) const {
    const Section* s = findSection(section);
    if (s == nullptr)
        return std::nullopt;
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const KeyValue& key : keys) {
        const Entry* entry = s->find(key.key);
        values.emplace_back(entry == nullptr ? key.value : std::string_view(entry->value));
    }
    return values;
}

void IniDocument::write(std::string_view section, std::string_view key, std::string_view value) {
    const KeyValue one{key, value};
    write(section, std::span(&one, 1));
}

void IniDocument::write(std::string_view section, std::span<const KeyValue> values) {
    const std::size_t before = sections_.size();
    Section& s = sectionFor(section);
    if (sections_.size() > before)
        ++sectionLineCount_;  // a new section
    for (const KeyValue& value : values) {
        if (Entry* entry = s.find(value.key))
            entry->value = std::string(value.value);
        else
            s.add(value.key, value.value);
    }
}

std::string IniDocument::text() const {
    // Sized first: a list of many thousand sections is written with one
    // allocation rather than a string grown again and again.
    std::size_t size = 0;
    for (const Section& s : sections_) {
        size += s.name.size() + 4;
        for (const Entry& e : s.entries)
            size += e.key.size() + e.value.size() + 3;
    }
    std::string out;
    out.reserve(size);
    for (const Section& s : sections_) {
        out += '[';
        out += s.name;
        out += "]\r\n";
        for (const Entry& e : s.entries) {
            out += e.key;
            out += '=';
            out += e.value;
            out += "\r\n";
        }
    }
    return out;
}

void IniDocument::save(const std::filesystem::path& path) const {
    const std::string content = text();
    PendingFile pending(path);
    pending.file().writeAt(
        0, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    pending.commit();
}

} // namespace stonereach
