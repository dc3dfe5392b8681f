#include "editor/BookmarkFile.h"

#include <expat.h>

#include <exception>
#include <limits>
#include <memory>

#include "editor/TextFile.h"
#include "mapdata/Blanks.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

// Problems past this many are counted, not listed: one sentence each would
// make a message taller than the screen.
constexpr std::size_t kMaxListedProblems = 5;

// Follows the parser's events: character data is gathered until the next
// tag (expat hands one text over in several pieces, split at line ends and
// character references) and then given to the tag read before it.
class BookmarkReader {
public:
    explicit BookmarkReader(BookmarkTable& table) : table_(table) {}

    BookmarkLoadReport parse(std::string_view text) {
        // The file is 8-bit text without an encoding declaration: read as
        // Latin-1, no byte makes it fail.
        const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
            XML_ParserCreate("ISO-8859-1"), &XML_ParserFree);
        if (!parser)
            throw std::bad_alloc();
        parser_ = parser.get();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &BookmarkReader::onStart, &BookmarkReader::onEnd);
        XML_SetCharacterDataHandler(parser_, &BookmarkReader::onText);
        if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
            return {{"the text is too large to be a bookmark file; no bookmarks were loaded"}};
        const bool parsed =
            XML_Parse(parser_, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_ERROR;
        if (failure_)
            std::rethrow_exception(failure_);
        if (!parsed) {
            // A text still open when the parser stopped is not given to any
            // field: it may be cut short ("12" of "125").
            addProblem("line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ": the file is damaged (" +
                       XML_ErrorString(XML_GetErrorCode(parser_)) + "); the bookmarks before that point were loaded");
        }
        return std::move(report_);
    }

private:
    // No exception may cross the parser's C frames: one raised in a handler
    // (out of memory) stops the parser and is raised again after it.
    template <class Step>
    static void guarded(void* self, Step step) {
        auto* reader = static_cast<BookmarkReader*>(self);
        try {
            step(*reader);
        } catch (...) {
            reader->failure_ = std::current_exception();
            XML_StopParser(reader->parser_, XML_FALSE);
        }
    }
    static void onStart(void* self, const XML_Char* name, const XML_Char** /*attributes*/) {
        guarded(self, [name](BookmarkReader& reader) { reader.tag(name); });
    }
    static void onEnd(void* self, const XML_Char* name) {
        guarded(self, [name](BookmarkReader& reader) {
            reader.tag(name);
            if (std::string_view(name) == "Bookmark" && reader.slot_ < BookmarkCount)
                ++reader.slot_;
        });
    }
    static void onText(void* self, const XML_Char* text, int length) {
        guarded(self, [text, length](BookmarkReader& reader) {
            const std::string_view piece(text, static_cast<std::size_t>(length));
            // A problem names the line where the text itself starts.
            if (!reader.runHasText_ && !trimBlanks(piece).empty()) {
                reader.runLine_ = XML_GetCurrentLineNumber(reader.parser_);
                reader.runHasText_ = true;
            }
            reader.run_ += piece;
        });
    }

    // A tag ends the text before it, which goes to the tag before that one.
    void tag(std::string_view name) {
        const std::string_view text = trimBlanks(run_);
        if (!text.empty())
            apply(text);
        run_.clear();
        runHasText_ = false;
        lastTag_ = name;
    }

    void apply(std::string_view text) {
        if (slot_ >= BookmarkCount)
            return;  // an eleventh bookmark and later ones have no slot
        BookmarkSlot& slot = table_[static_cast<std::size_t>(slot_)];
        if (lastTag_ == "Col")
            setNumber(slot.col, text);
        else if (lastTag_ == "Row")
            setNumber(slot.row, text);
        else if (lastTag_ == "Enabled")
            slot.enabled = text == "True";
    }

    void setNumber(int& field, std::string_view text) {
        if (const auto value = readInteger(text)) {
            field = *value;
            return;
        }
        if (listIsFull()) {
            ++report_.unlistedProblems;  // counted only: no sentence to make
            return;
        }
        // The file's bytes are Latin-1; messages are shown as UTF-8.
        const ConversionError problem{std::string(text)};
        addProblem("line " + std::to_string(runLine_) + ": " + latin1ToUtf8(problem.what()) + "; " + lastTag_ +
                   " of bookmark " + std::to_string(slot_) + " was left as it was");
    }

    bool listIsFull() const { return report_.problems.size() >= kMaxListedProblems; }

    void addProblem(std::string text) {
        if (!listIsFull())
            report_.problems.push_back(std::move(text));
        else
            ++report_.unlistedProblems;
    }

    BookmarkTable& table_;
    XML_Parser parser_ = nullptr;
    BookmarkLoadReport report_;
    int slot_ = 0;
    std::string lastTag_;
    std::string run_;
    bool runHasText_ = false;  // run_ holds more than blanks
    XML_Size runLine_ = 0;
    std::exception_ptr failure_;
};

} // namespace

BookmarkLoadReport parseBookmarks(std::string_view text, BookmarkTable& table) {
    return BookmarkReader(table).parse(text);
}

BookmarkLoadReport loadBookmarks(const std::filesystem::path& path, BookmarkTable& table) {
    if (!fileExists(path))
        return {};
    std::string text;
    try {
        text = readTextFile(path);
    } catch (const IoError& e) {
        return {{std::string(e.what()) + "; no bookmarks were loaded"}};
    }
    BookmarkLoadReport report = parseBookmarks(text, table);
    for (std::string& problem : report.problems)
        problem = "Bookmark file '" + path.string() + "', " + problem;
    return report;
}

std::string bookmarkFileText(const BookmarkTable& table) {
    std::string out;
    out.reserve(2048);  // room for all ten slots: one allocation
    out += "<?xml version=\"1.0\" ?>\r\n<BookmarkList>\r\n";
    for (int i = 0; i < BookmarkCount; ++i) {
        const BookmarkSlot& slot = table[static_cast<std::size_t>(i)];
        const std::string id = "id=\"" + std::to_string(i) + "\">";
        const auto element = [&](std::string_view name, std::string_view value) {
            out.append("    <").append(name).append(" ").append(id).append(value);
            out.append("</").append(name).append(">\r\n");
        };
        out.append("  <Bookmark ").append(id).append("\r\n");
        element("Col", std::to_string(slot.col));
        element("Row", std::to_string(slot.row));
        element("Enabled", slot.enabled ? "True" : "False");
        out += "  </Bookmark>\r\n";
    }
    out += "</BookmarkList>\r\n";
    return out;
}

void saveBookmarks(const std::filesystem::path& path, const BookmarkTable& table) {
    writeTextFile(path, bookmarkFileText(table));
}

} // namespace stonereach
