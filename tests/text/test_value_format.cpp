#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "text/value_format.h"

namespace loglezer {
namespace {

constexpr Separators kDutch{',', '.'};
constexpr Separators kEnglish{'.', ','};

struct Case {
    const char* name;
    const char* pattern;
    double value;
    const char* dutch;
    const char* english;
};

// The three patterns the program uses, with the marks the charts must show.
const std::vector<Case> kProgramPatterns = {
    // initial pattern
    {"InitialZero", "#,##0.### GB", 0, "0 GB", "0 GB"},
    {"InitialQuarter", "#,##0.### GB", 0.25, "0,25 GB", "0.25 GB"},
    {"InitialHalf", "#,##0.### GB", 0.5, "0,5 GB", "0.5 GB"},
    {"InitialOneAndAHalf", "#,##0.### GB", 1.5, "1,5 GB", "1.5 GB"},
    {"InitialThousandsOneDecimal", "#,##0.### GB", 1234.5, "1.234,5 GB", "1,234.5 GB"},
    {"InitialThousandsTwoDecimals", "#,##0.### GB", 1234.56, "1.234,56 GB", "1,234.56 GB"},
    {"InitialMillions", "#,##0.### GB", 1234567.89, "1.234.567,89 GB", "1,234,567.89 GB"},
    {"InitialJustUnderAThousand", "#,##0.### GB", 999.99, "999,99 GB", "999.99 GB"},
    {"InitialAThousand", "#,##0.### GB", 1000, "1.000 GB", "1,000 GB"},
    {"InitialWhole", "#,##0.### GB", 12, "12 GB", "12 GB"},
    // monthly pattern: no digit for zero, no leading zero
    {"MonthlyZeroHasNoDigit", "#.###,## GB", 0, " GB", " GB"},
    {"MonthlyHalfHasNoLeadingZero", "#.###,## GB", 0.5, ",5 GB", ".5 GB"},
    {"MonthlyHundredthsHaveNoLeadingZero", "#.###,## GB", 0.05, ",05 GB", ".05 GB"},
    {"MonthlyOneAndAHalf", "#.###,## GB", 1.5, "1,5 GB", "1.5 GB"},
    {"MonthlyTwoDecimals", "#.###,## GB", 12.34, "12,34 GB", "12.34 GB"},
    {"MonthlyThousands", "#.###,## GB", 1234.56, "1.234,56 GB", "1,234.56 GB"},
    {"MonthlyHundred", "#.###,## GB", 100, "100 GB", "100 GB"},
    {"MonthlyHundredThousands", "#.###,## GB", 123456.7, "123.456,7 GB", "123,456.7 GB"},
    // daily pattern: at least one integer digit
    {"DailyZero", "0.###,## GB", 0, "0 GB", "0 GB"},
    {"DailyHundredths", "0.###,## GB", 0.05, "0,05 GB", "0.05 GB"},
    {"DailyHalf", "0.###,## GB", 0.5, "0,5 GB", "0.5 GB"},
    {"DailyOneAndAHalf", "0.###,## GB", 1.5, "1,5 GB", "1.5 GB"},
    {"DailyThousands", "0.###,## GB", 1234.56, "1.234,56 GB", "1,234.56 GB"},
    {"DailyOneHundredth", "0.###,## GB", 0.01, "0,01 GB", "0.01 GB"},
    {"DailyTenAndATenth", "0.###,## GB", 10.1, "10,1 GB", "10.1 GB"},
};

// The rules one at a time, on patterns of their own.
const std::vector<Case> kRules = {
    // rounding to the pattern's decimals, half away from zero
    {"Rounds0_125Up", "0.##", 0.125, "0,13", "0.13"},
    {"Rounds1_005Up", "0.##", 1.005, "1,01", "1.01"},
    {"Rounds2_675Up", "0.##", 2.675, "2,68", "2.68"},
    {"Rounds0_994Down", "0.##", 0.994, "0,99", "0.99"},
    {"Rounds0_995UpToAWholeOne", "0.##", 0.995, "1", "1"},
    {"Rounds9_999UpToANewDigit", "0.##", 9.999, "10", "10"},
    {"RoundsToNothingWithoutAPlace", "#.#", 0.04, "", ""},
    {"RoundsAWholeHalfUp", "0", 2.5, "3", "3"},
    {"RoundsLessThanAHalfDown", "0", 0.4, "0", "0"},
    {"RoundsUpIntoANewGroup", "#,##0", 999999.5, "1.000.000", "1,000,000"},
    // zero places keep decimals and integer digits
    {"ZeroPlacesKeepDecimals", "0.00", 1.5, "1,50", "1.50"},
    {"ZeroPlacesKeepDecimalsOfZero", "0.00", 0, "0,00", "0.00"},
    {"AZeroPlaceKeepsOneDecimal", "#.0#", 0.5, ",5", ".5"},
    {"AZeroPlaceAfterAHashKeepsTwoDecimals", "#.#0#", 3, "3,00", "3.00"},
    {"ZeroPlacesKeepIntegerDigits", "000.#", 7, "007", "007"},
    {"AHashBetweenZerosKeepsItsDigit", "0#0.#", 7, "007", "007"},
    {"AHashAroundAZeroAddsNoDigit", "#0#.#", 7, "07", "07"},
    // all integer digits, however few places
    {"AHashWritesEveryIntegerDigit", "#", 123456, "123456", "123456"},
    {"OneZeroWritesEveryIntegerDigit", "0.#", 98765.4, "98765,4", "98765.4"},
    // no point: no decimals
    {"NoPointNoDecimals", "0 GB", 1.4, "1 GB", "1 GB"},
    // a comma anywhere groups; it writes nothing where it stands
    {"ACommaAfterThePointGroups", "0.#,#", 1234.56, "1.234,56", "1,234.56"},
    {"ACommaAtTheEndGroups", "0,", 1234, "1.234", "1,234"},
    // only the first point counts
    {"OnlyTheFirstPointCounts", "0.#.#", 1.25, "1,25", "1.25"},
    // characters before the digits stay in front, the rest go after them
    {"TextBeforeTheDigitsStaysInFront", "ca 0 GB", 3, "ca 3 GB", "ca 3 GB"},
    {"TextAfterTheFirstDigitGoesAfter", "x0y", 3, "x3y", "x3y"},
    // negative values: a sign only when a digit shows
    {"NegativeHasASign", "0.##", -1.5, "-1,5", "-1.5"},
    {"NegativeShownAsZeroHasNoSign", "0.##", -0.001, "0", "0"},
    {"NegativeIsGrouped", "#,##0", -1234, "-1.234", "-1,234"},
    // large and small magnitudes
    {"LargeMagnitude", "#,##0.##", 1e15, "1.000.000.000.000.000", "1,000,000,000,000,000"},
    {"TinyMagnitudeRoundsToZero", "0.#####", 1e-7, "0", "0"},
    {"SmallMagnitudeShown", "0.#####", 0.00001, "0,00001", "0.00001"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name << ": \"" << c.pattern << "\" " << c.value; }

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

class ValueFormat : public ::testing::TestWithParam<Case> {};

TEST_P(ValueFormat, Dutch) {
    const Case& c = GetParam();
    EXPECT_EQ(format_value(c.value, c.pattern, kDutch), c.dutch) << c.pattern << " " << c.value;
}

TEST_P(ValueFormat, English) {
    const Case& c = GetParam();
    EXPECT_EQ(format_value(c.value, c.pattern, kEnglish), c.english) << c.pattern << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(ProgramPatterns, ValueFormat, ::testing::ValuesIn(kProgramPatterns), case_name);
INSTANTIATE_TEST_SUITE_P(Rules, ValueFormat, ::testing::ValuesIn(kRules), case_name);

TEST(ValueFormatSpecial, NotANumberAndInfinity) {
    EXPECT_EQ(format_value(std::numeric_limits<double>::quiet_NaN(), "0", kEnglish), "NAN");
    EXPECT_EQ(format_value(std::numeric_limits<double>::infinity(), "0", kEnglish), "INF");
    EXPECT_EQ(format_value(-std::numeric_limits<double>::infinity(), "0", kEnglish), "-INF");
}

TEST(ValueFormatSpecial, OtherSeparatorsAreWrittenAsGiven) {
    EXPECT_EQ(format_value(1234567.5, "#,##0.0", Separators{'\'', ' '}), "1 234 567'5");
}

// Every value a caller can hand over: hundredths, written back under the
// monthly and daily patterns, must read as the hundredths they are.
TEST(ValueFormatSpecial, EveryHundredthUpToTenThousandReadsBack) {
    for (long long cents = 0; cents <= 1000000; ++cents) {
        const double value = static_cast<double>(cents) * 0.01;
        const std::string text = format_value(value, "0.###,## GB", kEnglish);
        long long whole = cents / 100;
        long long part = cents % 100;
        std::string expected = std::to_string(whole);
        if (whole >= 1000) expected.insert(expected.size() - 3, ",");
        if (part != 0) {
            std::string dec = (part < 10 ? "0" : "") + std::to_string(part);
            if (dec.back() == '0') dec.pop_back();
            expected += "." + dec;
        }
        expected += " GB";
        ASSERT_EQ(text, expected) << cents;
    }
}

}  // namespace
}  // namespace loglezer
