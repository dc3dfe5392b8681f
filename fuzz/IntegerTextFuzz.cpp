// The integer syntax of every text-to-number conversion, and the spaced
// hexadecimal form of tile ids and checksums, checked against plain reference
// versions written another way.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"

namespace {

using namespace stonereach;

bool allOf(std::string_view text, bool (*test)(char)) {
    for (const char c : text)
        if (!test(c))
            return false;
    return !text.empty();
}
bool isDecimal(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::optional<std::int64_t> number(std::string_view digits, int base) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> referenceInteger(std::string_view text) {
    std::optional<std::int64_t> value;
    if (!text.empty() && text.front() == '$') {
        if (allOf(text.substr(1), isHex))
            value = number(text.substr(1), 16);
    } else {
        const bool negative = !text.empty() && text.front() == '-';
        const std::string_view digits = !text.empty() && (text.front() == '-' || text.front() == '+') ? text.substr(1) : text;
        if (allOf(digits, isDecimal)) {
            value = number(digits, 10);
            if (value && negative)
                value = -*value;
        }
    }
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<std::uint32_t> referenceSpacedHex(std::string_view text, int byteCount) {
    std::string digits;
    for (const char c : text)
        if (c != ' ')
            digits += c;
    if (digits.size() != static_cast<std::size_t>(2 * byteCount) || !allOf(digits, isHex))
        return std::nullopt;
    return static_cast<std::uint32_t>(*number(digits, 16));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int byteCount = 1 + data[0] % 4;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::optional<std::int32_t> parsed;
    try {
        parsed = parseInteger(text);
    } catch (const ConversionError& e) {
        FUZZ_CHECK(e.text() == text);
    }
    FUZZ_CHECK(parsed == referenceInteger(text));
    if (parsed)
        FUZZ_CHECK(parseInteger(std::to_string(*parsed)) == *parsed);

    std::optional<std::uint32_t> hex;
    try {
        hex = spacedHexToInt(text, byteCount);
    } catch (const FormatError& e) {
        FUZZ_CHECK(std::string_view(e.what()) == "Input not SpacedHex");
    }
    FUZZ_CHECK(hex == referenceSpacedHex(text, byteCount));
    if (hex) {
        const std::string shown = intToSpacedHex(*hex, byteCount);
        FUZZ_CHECK(shown.size() == static_cast<std::size_t>(3 * byteCount - 1));
        FUZZ_CHECK(spacedHexToInt(shown, byteCount) == *hex);
    }
    return 0;
}
