#include <gtest/gtest.h>

#include "log/month_names.h"

using loglezer::SharedState;

namespace {

std::string translate(std::string_view text, std::string before = "") {
    SharedState s;
    s.current_month_name = std::move(before);
    loglezer::setmonth(text, s);
    return s.current_month_name;
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
    SharedState s;
    loglezer::setmonth("Mar", s);
    loglezer::setmonth("", s);
    EXPECT_EQ(s.current_month_name, "Maart");
}

TEST(SetMonth, TheLastMatchingTestWins) {
    // Holds both "Dec" and "Jan": the later test decides.
    EXPECT_EQ(translate("Dec-Jan"), "December");
    EXPECT_EQ(translate("Januari Mei"), "May");
}

}  // namespace
