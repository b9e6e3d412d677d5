#include "util/NumberText.h"

#include "tests/util/TestHelpers.h"

#include <climits>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

namespace {

class NumberTextTest : public ::testing::Test {
protected:
    NumberTextTest() { ApplyProgramFormatSettings(); }
    SettingsGuard guard_;
};

TEST_F(NumberTextTest, FloatToStrUsesGeneralFormatWithFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {100.0, "100"},
        {-1.5, "-1.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {999999999999999.0, "999999999999999"},
        {0.00001, "0.00001"},
        {-0.000012345, "-0.000012345"},
        // Scientific only when the integer part needs 16 digits or more, or below 0.00001.
        {123456789012345678.0, "1.23456789012346E17"},
        {1.5e20, "1.5E20"},
        {1e15, "1E15"},
        {999999999999999.9, "1E15"},
        {1e-6, "1E-6"},
        {-2.5e-10, "-2.5E-10"},
        {0.0000099999, "9.9999E-6"},
        {5e-324, "4.94065645841247E-324"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FloatToStr(value), expected);
}

TEST_F(NumberTextTest, DecimalSeparatorComesFromTheSettings) {
    formatSettings().DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(12.5), "12,5");
    EXPECT_EQ(FloatToStr(1.5e20), "1,5E20");
    EXPECT_EQ(CurrToStr(12345), "1,2345");
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat("1.5"); }), "'1.5' is not a valid floating point value");
}

TEST_F(NumberTextTest, StrToIntAcceptsDecimalAndHexadecimalForms) {
    const std::pair<const char*, int32_t> cases[] = {
        {"   42", 42},
        {"+42", 42},
        {"-42", -42},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"$ff", 255},
        {"xFF", 255},
        {"X1a", 26},
        {"0x1F", 31},
        {"0X1f", 31},
        {" -$10", -16},
        {"+0x10", 16},
        // Hexadecimal fills the unsigned width and wraps into the sign.
        {"$80000000", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StrToInt(text), expected) << text;
}

TEST_F(NumberTextTest, StrToIntRejectsEverythingElseWithTheTextInTheMessage) {
    for (const char* text :
         {"", " ", "42 ", "4 2", "\t1", "1.5", "1,000", "12a", "+-1", "- 1", "$", "0x", "$G", "$-1", "TRUE",
          "2147483648", "-2147483649", "$100000000", "99999999999999999999"})
        EXPECT_EQ(ConvertErrorOf([text] { StrToInt(text); }),
                  "'" + std::string(text) + "' is not a valid integer value");
}

TEST_F(NumberTextTest, StrToInt64UsesTheSixtyFourBitRange) {
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("$FFFFFFFF"), 4294967295LL);
    EXPECT_EQ(ConvertErrorOf([] { StrToInt64("9223372036854775808"); }),
              "'9223372036854775808' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { StrToInt64("$10000000000000000"); }),
              "'$10000000000000000' is not a valid integer value");
}

TEST_F(NumberTextTest, StrToFloatAcceptsBlanksSignFractionAndExponent) {
    const std::pair<const char*, double> cases[] = {
        {"  1.5  ", 1.5},
        {"-1.5", -1.5},
        {"+2", 2.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"1E+3", 1000.0},
        {"2.5e-3", 0.0025},
        {"0.1", 0.1},
        {"1e-400", 0.0},
        {"0e999999999999", 0.0},
        {"123456789.123456789", 123456789.123456789},
        {"0.000000000000000000000000000001e30", 1.0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StrToFloat(text), expected) << text;
}

TEST_F(NumberTextTest, StrToFloatRejectsOtherTextsAndOverflow) {
    for (const char* text :
         {"",        " ",     ".",     "-",   "e5",  "1e",   "1e+", "1.5x",  "--1",    "1,5",
          "1,000.5", "1 000", "1.2.3", "INF", "NAN", "0x10", "$10", "1e400", "-1e400", "\t1"})
        EXPECT_EQ(ConvertErrorOf([text] { StrToFloat(text); }),
                  "'" + std::string(text) + "' is not a valid floating point value");
}

TEST_F(NumberTextTest, FloatToCurrencyRoundsHalvesToEven) {
    EXPECT_EQ(FloatToCurrency(42.0), 420000);
    EXPECT_EQ(FloatToCurrency(-1.23456), -12346);
    // Each of these is an exact half once scaled.
    const std::pair<double, int64_t> halves[] = {{0.00005, 0},          {0.00025, 2},   {0.00035, 4},
                                                 {2.00015, 20002},      {-0.00025, -2}, {-0.00035, -4},
                                                 {1234.56785, 12345678}};
    for (const auto& [value, expected] : halves)
        EXPECT_EQ(FloatToCurrency(value), expected) << value;
}

TEST_F(NumberTextTest, FloatToCurrencyRefusesValuesOutsideTheRange) {
    EXPECT_NO_THROW(FloatToCurrency(-922337203685477.0));
    EXPECT_EQ(ConvertErrorOf([] { FloatToCurrency(1e20); }), "'1E20' is not a valid currency value");
    EXPECT_EQ(ConvertErrorOf([] { FloatToCurrency(922337203685478.0); }),
              "'922337203685478' is not a valid currency value");
    EXPECT_EQ(ConvertErrorOf([] { FloatToCurrency(std::numeric_limits<double>::quiet_NaN()); }),
              "'NAN' is not a valid currency value");
}

TEST_F(NumberTextTest, CurrencyTextIsTheShortestDecimalText) {
    EXPECT_EQ(CurrToStr(0), "0");
    EXPECT_EQ(CurrToStr(10000), "1");
    EXPECT_EQ(CurrToStr(12345000), "1234.5");
    EXPECT_EQ(CurrToStr(-5), "-0.0005");
    EXPECT_EQ(CurrToStr(INT64_MIN), "-922337203685477.5808");
    EXPECT_EQ(CurrToStr(FloatToCurrency(StrToFloat("1.23456"))), "1.2346");
    EXPECT_EQ(FloatToStr(CurrencyToFloat(125000)), "12.5");
}

} // namespace
