// The INI profile reader that point patch lists and coordinate files are read
// with. Any text parses; what is read back must survive writing the document
// out and reading it again; values written in memory read back as written.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "mapdata/IniDocument.h"

namespace {

using namespace stonereach;

// The section and key names an input mentions, so the reads look up names
// that exist as well as names that do not.
std::vector<std::string> namesIn(std::string_view text) {
    std::vector<std::string> names = {"0", "1", "X", "Y", "Z", "ID", ""};
    std::size_t start = 0;
    while (start < text.size() && names.size() < 14) {
        const std::size_t end = text.find_first_of("[]=\r\n", start);
        names.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return names;
}

// Blanks and line ends around names and values do not survive a save, so only
// texts without them are compared after writing.
bool isPlain(std::string_view text) {
    return !text.empty() && text.find_first_of("\r\n[]=;") == std::string_view::npos && text.front() != ' ' &&
           text.back() != ' ' && text.front() != '\t' && text.back() != '\t';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniDocument document = IniDocument::parse(text);
    const std::vector<std::string> names = namesIn(text);

    // Reading the document's own text back gives the same document: its text
    // comes out again, byte for byte. (Sections and keys are unique in a
    // document and names cannot hold the characters that end them, so equal
    // texts mean equal sections, keys and values: one comparison says what
    // reading every pair of names in both documents would.) The text is
    // written afresh, one line per section, so the count of section lines may
    // differ from the text that was parsed.
    const std::string written = document.text();
    IniDocument reread = IniDocument::parse(written);
    FUZZ_CHECK(reread.text() == written);
    FUZZ_CHECK(document.sectionLineCount() <= static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    // The lookups themselves, with the names the input mentions: all the
    // keys of a section at once in one document, one at a time in the other.
    std::vector<IniDocument::KeyValue> keys;
    for (const auto& key : names)
        keys.push_back({key, "\x01"});
    for (const auto& section : names) {
        const auto values = document.read(section, keys);
        if (!values) {
            FUZZ_CHECK(!reread.read(section, keys));
            continue;
        }
        for (std::size_t k = 0; k < keys.size(); ++k)
            FUZZ_CHECK(reread.read(section, names[k], "\x01") == (*values)[k]);
    }

    // A written value reads back, and survives the document being written
    // out and read again (checked once, after all the writes). The writes go
    // to the document read back, equal to the first one and no longer needed
    // as it was: no copy to make.
    IniDocument& edited = reread;
    bool wrote = false;
    for (std::size_t i = 0; i + 2 < names.size(); i += 3) {
        const auto& section = names[i];
        const auto& key = names[i + 1];
        const auto& value = names[i + 2];
        if (!isPlain(section) || !isPlain(key) || !isPlain(value))
            continue;
        edited.write(section, key, value);
        FUZZ_CHECK(edited.read(section, key, "") == value);
        wrote = true;
    }
    if (wrote) {
        const std::string editedText = edited.text();
        FUZZ_CHECK(IniDocument::parse(editedText).text() == editedText);
    }
    return 0;
}
