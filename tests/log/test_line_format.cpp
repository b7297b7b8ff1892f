#include <gtest/gtest.h>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/number_text.h"

using namespace loglezer;

namespace {

struct Fields {
    const char* line;
    const char* date;
    const char* year;
    const char* year_number_text;
    const char* month;
    const char* month_year;
    const char* day;
};

TEST(LineFormat, TakesEachFieldByPosition) {
    const Fields cases[] = {
        {"01-Jan-2005,1000,2000,", "01-Jan-2005", "2005", "2005", "Jan", "Jan-2005", "01"},
        {"31-Dec-2006,1,2,3,", "31-Dec-2006", "2006", "2006", "Dec", "Dec-2006", "31"},
        // A line without "," has no date field at all.
        {"01-Jan-2005", "", "", "2005", "Jan", "", "01"},
        {"", "", "", "", "", "", ""},
        {"1", "", "", "", "", "", "1"},
        {"1-Jan-2005,100,200,", "1-Jan-2005", "005", "005,", "an-", "an-2005", "1-"},
        {"01-Jan,5,6,", "01-Jan", "", "5,6,", "Jan", "Jan", "01"},
        {",5,6,", "", "", "", "6,", "", ",5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(date_field(c.line), c.date);
        EXPECT_EQ(year_text(c.line), c.year);
        EXPECT_EQ(year_number_text(c.line), c.year_number_text);
        EXPECT_EQ(month_abbrev(c.line), c.month);
        EXPECT_EQ(month_year_text(c.line), c.month_year);
        EXPECT_EQ(day_text(c.line), c.day);
    }
}

// A date the position rules read: two digits, a month as the log writes
// it, four digits, and a "," after them.
TEST(LineFormat, IsLogDateOnlyForDigitsAMonthAndAComma) {
    EXPECT_TRUE(is_log_date("01-Jan-2005,1,2,"));
    EXPECT_TRUE(is_log_date("99-Dec-0000,"));
    for (const char* line : {"xx-Jan-2005,1,2,", "01-Jan-20x5,1,2,", "0 -Jan-2005,1,2,", "01-jan-2005,1,2,",
                             "01/Jan/2005,1,2,", "1-Jan-2005,1,2,", "01-Jan-2005", "01-Jan-2005 ,1,2,", ""}) {
        EXPECT_FALSE(is_log_date(line)) << line;
    }
    try {
        check_date("xx-Jan-2005,1,2,");
        FAIL();
    } catch (const Failure& e) {
        EXPECT_STREQ(e.what(), "'xx-Jan-2005' is not a valid date");
    }
}

TEST(LineFormat, YearNumber) {
    EXPECT_EQ(year_number("01-Jan-2005,1000,2000,"), 2005);
    for (const auto& [line, taken] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {"01-Jan-20x5,1,2,", "20x5"}, {"01-Jan-", ""}, {"1-Jan-2005,", "005,"}}) {
        try {
            year_number(line);
            ADD_FAILURE() << line;
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), "'" + taken + "' is not a valid integer value");
        }
    }
}

struct AmountCase {
    const char* line;
    DateSkip skip;
    const char* download;
    const char* upload;
};

TEST(LineFormat, AmountTextsByBothWaysOfRemovingTheDate) {
    const AmountCase cases[] = {
        {"01-Jan-2005,1000,2000,", DateSkip::FirstTwelve, "1000", "2000"},
        {"01-Jan-2005,1000,2000,", DateSkip::UpToComma, "1000", "2000"},
        {"01-Jan-2005,1000,2000,3000,", DateSkip::FirstTwelve, "1000", "2000"},
        // The line ends after the upload amount: the upload is the rest.
        {"01-Dec-2026,100,200", DateSkip::FirstTwelve, "100", "200"},
        {"01-Dec-2026,100,200", DateSkip::UpToComma, "100", "200"},
        {"01-Jan-2005,1000,", DateSkip::FirstTwelve, "1000", ""},
        // A 10-character date: skipping 12 characters cuts into the amount.
        {"1-Jan-2005,100,200,", DateSkip::FirstTwelve, "00", "200"},
        {"1-Jan-2005,100,200,", DateSkip::UpToComma, "100", "200"},
        {"01-Jan-2005", DateSkip::FirstTwelve, "", ""},
        {"01-Jan-2005", DateSkip::UpToComma, "", ""},
        {"01-Jan-2005,1000", DateSkip::UpToComma, "", ""},
        {"", DateSkip::FirstTwelve, "", ""},
        {"short", DateSkip::FirstTwelve, "", ""},
        {"01-Jan-2005,,,", DateSkip::FirstTwelve, "", ""},
        {"01-Jan-2005, 1 , 2 ,", DateSkip::FirstTwelve, " 1 ", " 2 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const AmountTexts t = amount_texts(c.line, c.skip);
        EXPECT_EQ(t.download, c.download);
        EXPECT_EQ(t.upload, c.upload);
    }
}

TEST(LineFormat, EmptyUploadTextFailsToConvert) {
    const AmountTexts t = amount_texts("01-Jan-2005,1000,", DateSkip::FirstTwelve);
    EXPECT_EQ(text_to_float(t.download, Separators{}), 1000.0L);
    try {
        text_to_float(t.upload, Separators{});
        FAIL();
    } catch (const Failure& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
}

TEST(LineFormat, TakingPastTheEndNeverFails) {
    EXPECT_EQ(copy_text("abc", 3, 5), "c");
    EXPECT_EQ(copy_text("abc", 4, 5), "");
    EXPECT_EQ(copy_text("abc", 0, 5), "");
    EXPECT_EQ(drop_front("abc", 3), "");
    EXPECT_EQ(drop_front("abc", 99), "");
    EXPECT_EQ(up_to_comma("abc"), "abc");
    EXPECT_EQ(after_comma("abc"), "");
}

}  // namespace
