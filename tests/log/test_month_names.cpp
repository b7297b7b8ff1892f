#include <gtest/gtest.h>

#include "log/month_names.h"

namespace {

// The current month name after a translation of `text`.
std::string translate(std::string_view text, std::string before = "") {
    return std::string(loglezer::setmonth(text).value_or(before));
}

TEST(SetMonth, TranslatesBothWaysForAllTwelveMonths) {
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

TEST(SetMonth, LeavesTheNameWhenNothingMatches) {
    for (const char* text : {"jan", "JAN", "januari", "xyz", "", "MEI"}) {
        EXPECT_EQ(translate(text, "Maart"), "Maart") << text;
    }
}

TEST(SetMonth, TheLastMatchingTestWins) {
    // Holds both "Dec" and "Jan": the later test decides.
    EXPECT_EQ(translate("Dec-Jan"), "December");
    EXPECT_EQ(translate("Januari Mei"), "May");
}

}  // namespace
