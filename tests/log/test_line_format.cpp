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

// Commas are looked for eight characters at a time: each place must count.
TEST(LineFormat, FindsTheCommaAtEveryPlace) {
    for (std::size_t p = 0; p < 20; ++p) {
        const std::string text = std::string(p, 'x') + ",y,";
        EXPECT_EQ(up_to_comma(text), std::string(p, 'x'));
        EXPECT_EQ(after_comma(text), "y,");
        EXPECT_EQ(date_field(text), std::string(p, 'x'));
    }
    const std::string good = "01-Jan-2005,1,2,";
    ASSERT_TRUE(is_log_date(good));
    for (std::size_t p = 0; p < 11; ++p) {
        std::string line = good;
        line[p] = ',';
        EXPECT_FALSE(is_log_date(line)) << line;
        EXPECT_EQ(date_field(line), good.substr(0, p)) << line;
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
        // Nothing after the upload field: the upload text is empty.
        {"01-Jan-2005,1000,2000", DateSkip::FirstTwelve, "1000", ""},
        {"01-Jan-2005,1000,2000", DateSkip::UpToComma, "1000", ""},
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

// Both commas are found in one pass, eight characters at a time: amounts of
// every length put them in one word, in two, or past the last whole word.
TEST(LineFormat, AmountTextsOfEveryLength) {
    for (std::size_t down = 0; down < 18; ++down) {
        for (std::size_t up = 0; up < 18; ++up) {
            const std::string download(down, '1');
            const std::string upload = up == 0 ? "" : "-" + std::string(up - 1, '2');
            const std::string line = "01-Jan-2005," + download + "," + upload;
            for (const auto& [text, expected_upload] :
                 {std::pair{line + ",-3,", upload}, std::pair{line, std::string()}}) {
                const AmountTexts t = amount_texts(text, DateSkip::FirstTwelve);
                EXPECT_EQ(t.download, download) << text;
                EXPECT_EQ(t.upload, expected_upload) << text;
            }
        }
    }
}

// The yearly walk reads a line's amounts with plain_amounts, looking at many
// characters at once; it must tell exactly what the texts tell, for amounts
// of every length, with a stray character at every place, in lines short
// and long. The digits differ from place to place, so that a digit read
// from the wrong place shows.
TEST(LineFormat, PlainAmountsTellWhatTheAmountTextsTell) {
    const auto digits = [](std::size_t count, std::size_t first) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('0' + (first + i * 7) % 10);
        return text;
    };
    std::vector<std::string> lines;
    for (std::size_t down = 0; down <= 20; ++down) {
        for (std::size_t up = 0; up <= 20; ++up) {
            const std::string amounts = digits(down, 3) + "," + digits(up, 8);
            for (const char* after : {"", ",", ",7,", ",1234567890123456789012345678901234567890,"}) {
                lines.push_back("01-Jan-2005," + amounts + after);
            }
        }
    }
    const std::string full = "01-Jan-2005," + digits(11, 1) + "," + digits(10, 2) + "," + digits(30, 5) + ",";
    for (std::size_t at = 0; at < full.size(); ++at) {
        for (const char stray : {' ', '.', ',', '-', '+', '/', ':', 'e', '\x80'}) {
            std::string line = full;
            line[at] = stray;
            lines.push_back(line);
        }
        lines.push_back(full.substr(0, at));
    }
    for (const std::string& line : lines) {
        const AmountTexts texts = amount_texts(line, DateSkip::FirstTwelve);
        std::uint64_t expected_down = 0;
        std::uint64_t expected_up = 0;
        const bool expected =
            plain_digits_value(texts.download, expected_down) && plain_digits_value(texts.upload, expected_up);
        std::uint64_t down = 0;
        std::uint64_t up = 0;
        ASSERT_EQ(plain_amounts(line, down, up), expected) << line;
        if (!expected) continue;
        EXPECT_EQ(down, expected_down) << line;
        EXPECT_EQ(up, expected_up) << line;
    }
}

TEST(LineFormat, EmptyUploadTextFailsToConvert) {
    const AmountTexts t = amount_texts("01-Jan-2005,1000,2000", DateSkip::FirstTwelve);
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
