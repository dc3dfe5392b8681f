// The bookmark file reader: any text loads without a crash into the ten
// slots, changing only the fields its texts set, and what it loads survives
// being written and read back.
//
// Input: the text of bookmarklist.xml.
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>

#include "FuzzSupport.h"
#include "editor/BookmarkFile.h"

namespace {

// Whether the table is one this process has already written and read back.
// The round trip depends on the table alone, and the loads of most inputs end
// in a table an earlier input loaded (all zero, most often), while writing
// and reading back a whole file costs twice the rest of a run: so each table
// is checked once. (A finding still reproduces from its input alone: a table
// is only remembered once its round trip has passed.)
class CheckedTables {
public:
    bool contains(const stonereach::BookmarkTable& table) const { return seen_.contains(key(table)); }
    void add(const stonereach::BookmarkTable& table) {
        if (seen_.size() >= 1u << 16)
            seen_.clear();  // bounded: a long run meets many tables
        seen_.insert(key(table));
    }

private:
    static std::string key(const stonereach::BookmarkTable& table) {
        std::string bytes;
        for (const auto& slot : table) {
            char field[2 * sizeof(int) + 1];
            std::memcpy(field, &slot.col, sizeof(int));
            std::memcpy(field + sizeof(int), &slot.row, sizeof(int));
            field[2 * sizeof(int)] = slot.enabled ? 1 : 0;
            bytes.append(field, sizeof field);
        }
        return bytes;
    }

    std::unordered_set<std::string> seen_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stonereach;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The same text over two different tables: a field either comes from the
    // text (the same in both) or keeps each table's own value.
    BookmarkTable plain;
    const BookmarkSlot marker{-12345, 67890, true};
    BookmarkTable marked;
    marked.fill(marker);
    const BookmarkLoadReport report = parseBookmarks(text, plain);
    const BookmarkLoadReport reportMarked = parseBookmarks(text, marked);
    FUZZ_CHECK(report.problems == reportMarked.problems);
    FUZZ_CHECK(report.unlistedProblems == reportMarked.unlistedProblems);
    FUZZ_CHECK(report.problems.size() <= 5 && (report.unlistedProblems == 0 || report.problems.size() == 5));
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const BookmarkSlot& a = plain[i];
        const BookmarkSlot& b = marked[i];
        FUZZ_CHECK(a.col == b.col || (a.col == 0 && b.col == marker.col));
        FUZZ_CHECK(a.row == b.row || (a.row == 0 && b.row == marker.row));
        FUZZ_CHECK(a.enabled == b.enabled || (!a.enabled && b.enabled == marker.enabled));
    }

    // What was loaded writes out as a file that reads back whole.
    static CheckedTables checked;
    if (checked.contains(plain))
        return 0;
    BookmarkTable reread;
    reread.fill(marker);
    FUZZ_CHECK(parseBookmarks(bookmarkFileText(plain), reread).clean());
    FUZZ_CHECK(reread == plain);
    checked.add(plain);
    return 0;
}
