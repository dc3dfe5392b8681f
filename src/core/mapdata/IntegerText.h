#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stonereach {

// Converts text in the program's integer syntax: an optional sign followed by
// decimal digits, or "$" followed by hexadecimal digits. Nothing else is
// accepted (no blanks, no empty text); a value outside the 32-bit signed range
// is refused too. Throws ConversionError naming the text.
std::int32_t parseInteger(std::string_view text);
// The same syntax, with no value for text that does not convert: for the
// readers that skip such text, which meet it often (a brush file's comment
// lines, every input of a fuzz run) and should not pay for an exception each.
std::optional<std::int32_t> readInteger(std::string_view text) noexcept;

// The n low bytes of value, most significant first, each as two upper-case
// hexadecimal digits, joined by single blanks: (0x011A, 2) gives "01 1A".
std::string intToSpacedHex(std::uint32_t value, int byteCount);

// The reverse of intToSpacedHex: blanks anywhere are ignored, case does not
// matter, and exactly 2 * byteCount hexadecimal digits must remain. Throws
// FormatError("Input not SpacedHex") otherwise.
std::uint32_t spacedHexToInt(std::string_view text, int byteCount);

// "$" and four upper-case hexadecimal digits, the form tile ids take in the
// list, brush and group files.
std::string tileIdToDollarHex(std::uint16_t tile);

} // namespace stonereach
