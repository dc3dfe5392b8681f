#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editor/Bookmarks.h"

namespace stonereach {

// What loading bookmarklist.xml left out. Empty when the file was read whole
// or was not there at all (a first run has no file).
struct BookmarkLoadReport {
    // One plain sentence per problem, naming the file (and the line where
    // the parser stopped), for the window to show or ignore.
    std::vector<std::string> problems;
    // Problems past the first few, counted only, so a message stays short.
    std::size_t unlistedProblems = 0;
    bool clean() const { return problems.empty(); }
};

// Reads the bookmarks from the text of a bookmark file into table: each run
// of non-blank character data is given to the tag read last before it (Col,
// Row or Enabled, which must be exactly "True" to enable); each </Bookmark>
// moves on to the next slot. Fields the text does not set keep their value; a
// Col or Row that is not an integer keeps its value; an eleventh Bookmark and
// later ones are ignored. Text that is not well-formed XML keeps everything
// read before the point where the parser stopped.
BookmarkLoadReport parseBookmarks(std::string_view text, BookmarkTable& table);

// Reads the bookmark file at path into table as parseBookmarks does. A file
// that is missing leaves table as it is with a clean report; one that cannot
// be read leaves it as it is and says so in the report. Never throws for the
// file's content or absence.
BookmarkLoadReport loadBookmarks(const std::filesystem::path& path, BookmarkTable& table);

// The whole bookmark file for table: 53 lines ending in CR LF, every one of
// the ten slots with "True" or "False".
std::string bookmarkFileText(const BookmarkTable& table);

// Writes bookmarkFileText(table) to path atomically, replacing any file there;
// throws IoError when it cannot, leaving the previous file as it was.
void saveBookmarks(const std::filesystem::path& path, const BookmarkTable& table);

} // namespace stonereach
