#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"

namespace stonereach {
namespace {

TEST(ParseInteger, AcceptsSignedDecimalAndDollarHex) {
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("-5"), -5);
    EXPECT_EQ(parseInteger("+12"), 12);
    EXPECT_EQ(parseInteger("007"), 7);
    EXPECT_EQ(parseInteger("$1A"), 26);
    EXPECT_EQ(parseInteger("$ff"), 255);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseInteger("$7FFFFFFF"), 2147483647);
}

TEST(ParseInteger, RefusesEverythingElseNamingTheText) {
    for (const char* bad : {"", "abc", "-", "+", "$", "1.5", " 5", "5 ", "0x10", "$G1", "2147483648",
                            "-2147483649", "$80000000", "-$10", "1e3"}) {
        try {
            parseInteger(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(SpacedHex, WritesLowBytesMostSignificantFirst) {
    EXPECT_EQ(intToSpacedHex(0x011A, 2), "01 1A");
    EXPECT_EQ(intToSpacedHex(0x0003, 2), "00 03");
    EXPECT_EQ(intToSpacedHex(0x12345678, 4), "12 34 56 78");
    EXPECT_EQ(intToSpacedHex(0x12345678, 2), "56 78");
}

TEST(SpacedHex, ReadsBackIgnoringBlanksAndCase) {
    EXPECT_EQ(spacedHexToInt("12 34", 2), 0x1234u);
    EXPECT_EQ(spacedHexToInt("00 00", 2), 0u);
    EXPECT_EQ(spacedHexToInt("1 2 3 4", 2), 0x1234u);
    EXPECT_EQ(spacedHexToInt("ab cd", 2), 0xABCDu);
    EXPECT_EQ(spacedHexToInt("12 34 56 78", 4), 0x12345678u);
}

TEST(SpacedHex, RefusesWrongDigitCounts) {
    for (const char* bad : {"123", "12 34 56", "", "  ", "12 3G", "12-34"}) {
        try {
            spacedHexToInt(bad, 2);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const FormatError& e) {
            EXPECT_STREQ(e.what(), "Input not SpacedHex");
        }
    }
}

TEST(DollarHex, FourUpperCaseDigits) {
    EXPECT_EQ(tileIdToDollarHex(0x1A4), "$01A4");
    EXPECT_EQ(tileIdToDollarHex(0xFFFF), "$FFFF");
    EXPECT_EQ(parseInteger(tileIdToDollarHex(0xBEEF)), 0xBEEF);
}

} // namespace
} // namespace stonereach
