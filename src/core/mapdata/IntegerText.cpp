#include "mapdata/IntegerText.h"

#include <limits>

#include "mapdata/Errors.h"

namespace stonereach {

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

std::optional<std::int32_t> readInteger(std::string_view text) noexcept {
    if (text.empty())
        return std::nullopt;

    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    if (text.front() == '$') {
        if (text.size() == 1)
            return std::nullopt;
        for (const char c : text.substr(1)) {
            const int digit = hexDigitValue(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
            if (value >= limit)
                return std::nullopt;
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    std::size_t pos = 0;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        pos = 1;
    }
    if (pos == text.size())
        return std::nullopt;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t parseInteger(std::string_view text) {
    if (const auto value = readInteger(text))
        return *value;
    throw ConversionError(std::string(text));
}

std::string intToSpacedHex(std::uint32_t value, int byteCount) {
    std::string result;
    for (int i = byteCount - 1; i >= 0; --i) {
        const auto byte = i < 4 ? (value >> (8 * i)) & 0xFFu : 0u;
        if (!result.empty())
            result += ' ';
        result += kHexDigits[byte >> 4];
        result += kHexDigits[byte & 0xF];
    }
    return result;
}

std::uint32_t spacedHexToInt(std::string_view text, int byteCount) {
    std::uint32_t value = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == ' ')
            continue;
        const int digit = hexDigitValue(c);
        if (digit < 0 || ++digits > 2 * byteCount)
            throw FormatError("Input not SpacedHex");
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    if (digits != 2 * byteCount)
        throw FormatError("Input not SpacedHex");
    return value;
}

std::string tileIdToDollarHex(std::uint16_t tile) {
    std::string result = "$";
    for (int shift = 12; shift >= 0; shift -= 4)
        result += kHexDigits[(tile >> shift) & 0xF];
    return result;
}

} // namespace stonereach
