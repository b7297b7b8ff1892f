#include <gtest/gtest.h>

#include "log/failure.h"
#include "log/number_text.h"

using loglezer::Failure;
using loglezer::Separators;

namespace {

const Separators kPoint{'.', ','};
const Separators kComma{',', '.'};

struct FloatCase {
    const char* text;
    Separators seps;
    long double expected;
};

TEST(TextToFloat, ConvertsTheGrammar) {
    const FloatCase cases[] = {
        {"1000", kPoint, 1000.0L},
        {" 1000 ", kPoint, 1000.0L},
        {"   7", kComma, 7.0L},
        {"1e3", kPoint, 1000.0L},
        {"1E+3", kPoint, 1000.0L},
        {"25e-1", kPoint, 2.5L},
        {"+5", kPoint, 5.0L},
        {"-5", kPoint, -5.0L},
        {"1.5", kPoint, 1.5L},
        {"1,5", kComma, 1.5L},
        {"0", kPoint, 0.0L},
        {"007", kPoint, 7.0L},
        // Every 64-bit whole number is exact in the extended type.
        {"18446744073709551615", kPoint, 18446744073709551615.0L},
        {"9999999999999999999", kPoint, 9999999999999999999.0L},
        {"123456789012345678901234", kPoint, 123456789012345678901234.0L},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loglezer::text_to_float(c.text, c.seps), c.expected) << c.text;
    }
}

TEST(TextToFloat, WholeNumbersConvertUnderEveryRegionalSetting) {
    EXPECT_EQ(loglezer::text_to_float("123456789", kPoint), loglezer::text_to_float("123456789", kComma));
}

TEST(TextToFloat, RejectsEverythingElseWithTheText) {
    const std::pair<const char*, Separators> bad[] = {
        {"", kPoint},
        {" ", kPoint},
        {"1.5", kComma},
        {"1,5", kPoint},
        {"1,000", kPoint},
        {"abc", kPoint},
        {"1x", kPoint},
        {"\t1", kPoint},
        {"1\t", kPoint},
        {"inf", kPoint},
        {"nan", kPoint},
        {"0x10", kPoint},
        {"+", kPoint},
        {"-", kPoint},
        {"e3", kPoint},
        {"1e", kPoint},
        {"1e+", kPoint},
        {".5", kPoint},
        {"5.", kPoint},
        {"1 000", kPoint},
        {"++1", kPoint},
        {"1e5000", kPoint},
        {"2-", kPoint},
        {"1.5.5", kPoint},
        {"1.5", {',', ','}},
        // Beyond the range of a double: no figure could show it.
        {"1e309", kPoint},
        {"-1e309", kPoint},
    };
    for (const auto& [text, seps] : bad) {
        try {
            loglezer::text_to_float(text, seps);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid floating point value");
        }
    }
}

TEST(TextToFloat, TheLargestDoubleStillConverts) {
    EXPECT_EQ(loglezer::text_to_float("1.7976931348623157e308", kPoint), 1.7976931348623157e308L);
    const std::string four_hundred_digits = "1" + std::string(399, '0');
    EXPECT_THROW(loglezer::text_to_float(four_hundred_digits, kPoint), Failure);
}

// A text of megabytes is quoted by its first hundred characters.
TEST(Messages, LongTextsAreCutInTheQuote) {
    const std::string text = std::string(100, '7') + "x";
    const std::string cut = "'" + std::string(100, '7') + "...'";
    const std::pair<void (*)(std::string_view), std::string> cases[] = {
        {[](std::string_view t) { loglezer::text_to_float(t, kPoint); }, cut + " is not a valid floating point value"},
        {[](std::string_view t) { loglezer::text_to_int(t); }, cut + " is not a valid integer value"},
        {[](std::string_view t) { loglezer::fail_date(t); }, cut + " is not a valid date"},
    };
    for (const auto& [fail, message] : cases) {
        try {
            fail(text);
            ADD_FAILURE() << message;
        } catch (const Failure& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    // A hundred characters are quoted whole.
    EXPECT_THROW(
        try { loglezer::fail_date(std::string(100, 'd')); } catch (const Failure& e) {
            EXPECT_EQ(e.what(), "'" + std::string(100, 'd') + "' is not a valid date");
            throw;
        },
        Failure);
}

// Every length up to 19 digits gives the number its digits spell.
TEST(PlainDigits, EveryLengthGivesTheNumberItSpells) {
    const std::string digits = "9876543210123456789";
    for (std::size_t n = 1; n <= digits.size(); ++n) {
        const std::string text = digits.substr(digits.size() - n);
        std::uint64_t value = 0;
        EXPECT_TRUE(loglezer::plain_digits_value(text, value)) << text;
        EXPECT_EQ(value, std::stoull(text)) << text;
    }
}

TEST(PlainDigits, AnyOtherCharacterAnywhereIsLeftToTheFullGrammar) {
    std::uint64_t value = 0;
    for (std::size_t n = 1; n <= 19; ++n) {
        for (std::size_t pos = 0; pos < n; ++pos) {
            for (const char other : {'/', ':', ' ', '.', '-', '\0', '\xB5'}) {
                std::string text(n, '5');
                text[pos] = other;
                EXPECT_FALSE(loglezer::plain_digits_value(text, value)) << n << " at " << pos << ": " << int{other};
            }
        }
    }
    EXPECT_FALSE(loglezer::plain_digits_value("", value));
    EXPECT_FALSE(loglezer::plain_digits_value(std::string(20, '1'), value));
}

TEST(TextToInt, ConvertsBlanksSignAndDigits) {
    const std::pair<const char*, int> good[] = {
        {"2005", 2005},
        {" 2005", 2005},
        {"+7", 7},
        {"-12", -12},
        {"0042", 42},
        {"0000", 0},
        {"9999", 9999},
        {" 205", 205},
        {"+205", 205},
        {"-205", -205},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const auto& [text, value] : good) EXPECT_EQ(loglezer::text_to_int(text), value) << text;
}

TEST(TextToInt, RejectsEverythingElseWithTheText) {
    for (const char* text : {"", " ", "2005 ", "20a5", "200/", ":005", "2 05", "+", "1.0", "2147483648", "-2147483649",
                             "99999999999999999999", "x"}) {
        try {
            loglezer::text_to_int(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
