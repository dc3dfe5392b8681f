// The bookmark file reader: any text loads without a crash into the ten
// slots, changing only the fields its texts set, and what it loads survives
// being written and read back.
//
// Input: the text of bookmarklist.xml.
#include <string_view>

#include "FuzzSupport.h"
#include "editor/BookmarkFile.h"

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
    BookmarkTable reread;
    reread.fill(marker);
    FUZZ_CHECK(parseBookmarks(bookmarkFileText(plain), reread).clean());
    FUZZ_CHECK(reread == plain);
    return 0;
}
