#include <gtest/gtest.h>

#include <cmath>

#include "text/number_format.h"

namespace loglezer {
namespace {

constexpr long double kGiB = 1024.0L * 1024.0L * 1024.0L;

TEST(Round2, GigabyteExamples) {
    EXPECT_EQ(to_gigabytes(1.5L * kGiB, UnitMode::Binary), 1.5);
    EXPECT_EQ(to_gigabytes(1e9L, UnitMode::Binary), 0.93);
    EXPECT_EQ(to_gigabytes(0, UnitMode::Binary), 0);
    EXPECT_EQ(to_gigabytes(5 * kGiB, UnitMode::Binary), 5);
    EXPECT_EQ(to_gigabytes(125e9L, UnitMode::Decimal), 125);
    EXPECT_EQ(to_gigabytes(5 * kGiB, UnitMode::Decimal), 5.37);
}

struct RoundCase {
    const char* name;
    double value;
    long long hundredths;  // the whole number of hundredths it rounds to
};

void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.name; }

// Halfway cases go to the even hundredth, and what counts as halfway is
// decided by the extended-precision quotient by the double 0.01: 0.125 lies
// just below 12.5 hundredths there, so it goes down although it is exactly
// representable. Plain rounding of value * 100 gets most of these wrong.
class Round2Cases : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Round2Cases, RoundsToNearestHundredthTiesToEven) {
    const RoundCase& c = GetParam();
    const double expected = static_cast<double>(c.hundredths * static_cast<long double>(0.01));
    EXPECT_EQ(round2(c.value), expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Ties, Round2Cases,
    ::testing::Values(RoundCase{"HalfAHundredthToZero", 0.005, 0},         // exactly 0.5 hundredths: to 0
                      RoundCase{"TieDownToEven", 27.265, 2726},            // exactly 2726.5: to the even 2726
                      RoundCase{"TieUpToEven", 54.655, 5466},              // exactly 5465.5: to the even 5466
                      RoundCase{"TieUpToEvenAbove100", 109.435, 10944},    // exactly 10943.5: up
                      RoundCase{"TieDownToEvenAbove100", 218.245, 21824},  // exactly 21824.5: down
                      RoundCase{"EighthJustBelowTie", 0.125, 12},          // below 12.5 in extended precision
                      RoundCase{"ThreeEighthsJustBelowTie", 0.375, 37},    // below 37.5
                      RoundCase{"PlainNearest", 0.135, 14}, RoundCase{"TenToTheNineBytesInGB", 0.931322574615479, 93},
                      RoundCase{"FourDecimals", 1234.5678, 123457}, RoundCase{"Negative", -0.126, -13}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(Round2, ResultIsTheProductOfTheWholeNumberAndTheDouble001) {
    // 140 * 0.01 in extended precision, taken to double: not the double
    // nearest 1.4, and no other rounding may be substituted.
    EXPECT_EQ(round2(1.4), static_cast<double>(140.0L * static_cast<long double>(0.01)));
    EXPECT_NE(round2(1.4), 1.4);
}

struct ScaleCase {
    const char* name;
    long double download, upload;
    const char* suffix_before;
    long double expected_download, expected_upload;
    const char* expected_suffix;
    UnitMode units = UnitMode::Binary;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class ScaleUnits : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleUnits, ScalesThePairTogether) {
    const ScaleCase& c = GetParam();
    long double down = c.download, up = c.upload;
    std::string suffix = c.suffix_before;
    scale_units(down, up, suffix, c.units);
    EXPECT_EQ(down, c.expected_download);
    EXPECT_EQ(up, c.expected_upload);
    EXPECT_EQ(suffix, c.expected_suffix);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ScaleUnits,
    ::testing::Values(ScaleCase{"Exactly1024NotDivided", 1024, 0, "", 1024, 0, ""},
                      ScaleCase{"NeitherAbove1024", 1024, 1024, "", 1024, 1024, ""},
                      ScaleCase{"DownloadJustAbove1024", 1025, 0, "", 1025.0L / 1024, 0, " KB"},  // one division
                      ScaleCase{"UploadJustAbove1024", 0, 1025, "", 0, 1025.0L / 1024,
                                " KB"},  // the upload decides too
                      ScaleCase{"Gigabytes", 5 * kGiB, 500.0L * 1024 * 1024, "", 5, 500.0L / 1024, " GB"},
                      ScaleCase{"Kilobytes1024StayKB", 1024.0L * 1024, 0, "", 1024, 0, " KB"},
                      ScaleCase{"BeyondTerabytesStaysTB", 3.0L * kGiB * 1024 * 1024, 0, "", 3072, 0, " TB"},
                      ScaleCase{"NothingDividedKeepsTheSuffix", 12, 7, " GB", 12, 7, " GB"},
                      ScaleCase{"Zero", 0, 0, "", 0, 0, ""},
                      ScaleCase{"DecimalExactly1000NotDivided", 1000, 0, "", 1000, 0, "", UnitMode::Decimal},
                      ScaleCase{"DecimalTerabytes", 2.5e12L, 0, "", 2.5L, 0, " TB", UnitMode::Decimal}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(GeneralNumberText, Examples) {
    EXPECT_EQ(general_number_text(12.5, ','), "12,5");
    EXPECT_EQ(general_number_text(12.5, '.'), "12.5");
    EXPECT_EQ(general_number_text(3.0, ','), "3");
    EXPECT_EQ(general_number_text(0, ','), "0");
    EXPECT_EQ(general_number_text(-0.0, ','), "0");
    EXPECT_EQ(general_number_text(1024, ','), "1024");  // no grouping
    EXPECT_EQ(general_number_text(1234567.89, ','), "1234567,89");
    EXPECT_EQ(general_number_text(0.49, ','), "0,49");
    EXPECT_EQ(general_number_text(0.05, '.'), "0.05");
    EXPECT_EQ(general_number_text(-2.5, '.'), "-2.5");
    // 15 significant digits: the double left by round2 reads as meant
    EXPECT_EQ(general_number_text(round2(1.4), ','), "1,4");
    EXPECT_EQ(general_number_text(0.1 + 0.2, '.'), "0.3");
    // fixed notation even for large and small values
    EXPECT_EQ(general_number_text(1e20, '.'), "100000000000000000000");
    EXPECT_EQ(general_number_text(123456789012345678.0, '.'), "123456789012346000");
    EXPECT_EQ(general_number_text(0.000001, '.'), "0.000001");
}

}  // namespace
}  // namespace loglezer
