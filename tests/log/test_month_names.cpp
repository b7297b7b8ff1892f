#include <gtest/gtest.h>

#include <string>

#include "log/month_names.h"

namespace {

// The current month name after a translation of `text`.
std::string translate(std::string_view text, std::string before = "") {
    return std::string(loglezer::look_up_month(text).value_or(before));
}

TEST(LookUpMonth, TranslatesBothWaysForAllTwelveMonths) {
    const std::pair<const char*, const char*> months[] = {
        {"Jan", "Januari"},   {"Feb", "Februari"}, {"Mar", "Maart"},    {"Apr", "April"},
        {"May", "Mei"},       {"Jun", "Juni"},     {"Jul", "Juli"},     {"Aug", "Augustus"},
        {"Sep", "September"}, {"Oct", "Oktober"},  {"Nov", "November"}, {"Dec", "December"},
    };
    for (const auto& [abbrev, dutch] : months) {
        EXPECT_EQ(translate(abbrev), dutch);
        EXPECT_EQ(translate(dutch), abbrev);
        EXPECT_EQ(translate(std::string(abbrev) + "-2005"), dutch);
        EXPECT_EQ(translate(std::string("01-") + abbrev + "-2005"), dutch);
    }
}

TEST(LookUpMonth, LeavesTheNameWhenNothingMatches) {
    for (const char* text : {"jan", "JAN", "januari", "xyz", "", "MEI"}) {
        EXPECT_EQ(translate(text, "Maart"), "Maart") << text;
    }
}

TEST(LookUpMonth, TheLastMatchingTestWins) {
    // Holds both "Dec" and "Jan": the later test decides.
    EXPECT_EQ(translate("Dec-Jan"), "December");
    EXPECT_EQ(translate("Januari Mei"), "May");
}

TEST(MonthOfAbbrev, ExactlyTheTwelveInTheirLetterCase) {
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) EXPECT_EQ(loglezer::month_of_abbrev(months[month - 1]), month);
    for (const char* text : {"", "Ja", "Janu", "Jan ", "jan", "JAN", "Mei", "Jan-"}) {
        EXPECT_EQ(loglezer::month_of_abbrev(text), 0) << text;
    }
}

}  // namespace
