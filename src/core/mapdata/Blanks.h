#pragma once

#include <string_view>

namespace stonereach {

// Blanks as the program's text files hold them around a value: spaces, tabs
// and line breaks.
constexpr bool isBlankOrBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without the blanks and line breaks at either end.
constexpr std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlankOrBreak(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrBreak(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace stonereach
