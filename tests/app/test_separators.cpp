// The window takes its separators from Qt's locale, loglezer-stats from the
// C library's: under every locale both must write the same figures.

#include <gtest/gtest.h>

#include <QLocale>

#include "app/window.h"
#include "stats/regional.h"
#include "stats/value_format.h"

namespace loglezer {
namespace {

struct LocaleCase {
    const char* name;
    // What the C library (glibc 2.36) gives as decimal_point and thousands_sep.
    const char* c_decimal;
    const char* c_group;
    const char* figure;  // 1234567.5 under "#,##0.### GB"
};

void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }

class Locales : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(Locales, WindowAndToolWriteTheSameFigure) {
    const LocaleCase& c = GetParam();
    constexpr double kValue = 1234567.5;
    EXPECT_EQ(format_value(kValue, "#,##0.### GB", separators_of(QLocale(c.name))), c.figure);
    EXPECT_EQ(format_value(kValue, "#,##0.### GB", separators_from_texts(c.c_decimal, c.c_group)), c.figure);
}

INSTANTIATE_TEST_SUITE_P(Table, Locales,
                         ::testing::Values(LocaleCase{"C", ".", "", "1234567.5 GB"},
                                           LocaleCase{"en_US", ".", ",", "1,234,567.5 GB"},
                                           LocaleCase{"nl_NL", ",", ".", "1.234.567,5 GB"},
                                           LocaleCase{"de_DE", ",", ".", "1.234.567,5 GB"},
                                           LocaleCase{"fr_FR", ",", "\u202f", "1 234 567,5 GB"},
                                           LocaleCase{"de_CH", ".", "\u2019", "1'234'567.5 GB"}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
