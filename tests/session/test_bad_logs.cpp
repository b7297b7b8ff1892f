// Logs that go wrong the way real files do, each started up: the failure
// told (or none) and what the charts and labels show afterwards.

#include <array>
#include <regex>
#include <utility>

#include "tests/session/session_fixture.h"

namespace loglezer {
namespace {

using test::days_from;
using test::SessionTest;
using Captions = std::array<std::optional<std::string>, 4>;

const std::string G = "1073741824";  // 1 GB
const std::string H = "536870912";   // 0.5 GB

std::string day(const std::string& date, const std::string& download = G, const std::string& upload = H) {
    return date + "," + download + "," + upload + ",0,\r\n";
}
const std::string kThreeDays = day("01-Jan-2005") + day("02-Jan-2005") + day("03-Jan-2005");
// The second day's download read from `amount`; 1 GB and 0.5 GB otherwise.
std::string amount_log(const std::string& amount) {
    return day("01-Jan-2005") + day("02-Jan-2005", amount) + day("03-Jan-2005", "0", "0");
}

// The records are not written, the totals emptied by the start-up.
const Captions kUnwritten = {std::nullopt, std::nullopt, "", ""};
const Captions kThreeDaysCaptions = {"1024 MB", "512 MB", "3 GB", "1.5 GB"};
const std::string kTitle = "Download per jaar sinds 01 Januari 2005";

// After the start-up, a run of "Maak stats" with another option.
struct Then {
    PeriodOption option = PeriodOption::None;
    std::string year, month;
    std::vector<std::string> labels;
    std::string message;
};

struct BadLog {
    const char* name;
    std::string log;
    std::string message;  // empty: none
    std::vector<std::pair<std::string, double>> bars;
    std::vector<double> upload;
    Captions captions;  // record down, record up, total down, total up
    std::string title;  // of the download chart
    Separators seps = {};
    Then then = {};
};

void PrintTo(const BadLog& c, std::ostream* os) { *os << c.name; }

const std::string kFloatFails = "' is not a valid floating point value";

const BadLog kBadLogs[] = {
    {"healthy", kThreeDays, "", {{"2005", 3}}, {1.5}, kThreeDaysCaptions, kTitle},
    {"empty_file", "", "List index out of bounds (0)", {}, {}, kUnwritten, "Download"},
    {"nul_bytes", std::string(4096, '\0'), "List index out of bounds (0)", {}, {}, kUnwritten, "Download"},
    // A crash during an append leaves a run of NULs; the lines after it count.
    {"nul_run_between_lines",
     day("01-Jan-2005") + std::string(64, '\0') + day("02-Jan-2006"),
     "",
     {{"2005", 1}, {"2006", 1}},
     {0.5, 0.5},
     {"1024 MB", "512 MB", "2 GB", "1 GB"},
     kTitle},
    // After a line cut off by the crash, the pieces join and are refused loudly.
    {"nul_run_after_a_cut_off_line",
     kThreeDays + "04-Jan-2005,107" + std::string(64, '\0') + day("05-Jan-2005"),
     "'10705-Jan-2005" + kFloatFails,
     {},
     {},
     kUnwritten,
     "Download"},
    // No year list: no bars, all figures 0, and no year for the month list.
    {"only_blank_lines", "\r\n\r\n\n\r", "'' is not a valid integer value", {}, {}, {"0", "0", "0", "0"}, "Download"},
    // The last line of a crashed write: the upload field has no end.
    {"cut_off_in_the_amounts",
     kThreeDays + "04-Jan-2005,10737",
     "'' is not a valid floating point value",
     {},
     {},
     kUnwritten,
     "Download"},
    {"cut_off_in_the_date",
     kThreeDays + "04-Jan-20",
     "'04-Jan-20' is not a valid date",
     {{"2005", 3}},
     {1.5},
     kUnwritten,
     "Download"},
    // A line may end after its upload amount, with the line end or without.
    {"no_fields_after_the_upload",
     "01-Jan-2005," + G + "," + H + "\r\n" + day("02-Jan-2005") + "03-Jan-2005," + G + "," + H,
     "",
     {{"2005", 3}},
     {1.5},
     kThreeDaysCaptions,
     kTitle},
    {"mixed_line_ends",
     "01-Jan-2005,1,2,\r\n02-Jan-2005,3,4,\n03-Jan-2005,5,6,\r04-Jan-2005," + G + "," + G + ",",
     "",
     {{"2005", 1}},
     {1},
     {"1024 MB", "1024 MB", "1 GB", "1 GB"},
     kTitle},
    // LF CR is two breaks with an empty line between.
    {"lf_cr_line_ends",
     "01-Jan-2005," + G + "," + H + ",\n\r02-Jan-2005," + G + "," + H + ",\n\r",
     "'' is not a valid date",
     {{"2005", 1}},
     {0.5},
     kUnwritten,
     "Download"},
    {"byte_order_mark", "\xEF\xBB\xBF" + kThreeDays, "", {{"2005", 3}}, {1.5}, kThreeDaysCaptions, kTitle},

    // Amounts: the second day's download.
    {"decimal_point", amount_log("2147483648.5"), "", {{"2005", 3}}, {1}, {"2 GB", "0.5 GB", "3 GB", "1 GB"}, kTitle},
    {"decimal_point_under_a_decimal_comma",
     amount_log("2147483648.5"),
     "'2147483648.5" + kFloatFails,
     {},
     {},
     kUnwritten,
     "Download",
     {',', '.'}},
    {"decimal_comma_splits_the_field",
     amount_log("2147483648,5"),
     "",
     {{"2005", 3}},
     {0.5},
     {"2 GB", "0,5 GB", "3 GB", "0,5 GB"},
     kTitle,
     {',', '.'}},
    {"exponent", amount_log("2.147483648e9"), "", {{"2005", 3}}, {1}, {"2 GB", "0.5 GB", "3 GB", "1 GB"}, kTitle},
    {"plus_sign_and_blanks",
     amount_log(" +2147483648 "),
     "",
     {{"2005", 3}},
     {1},
     {"2 GB", "0.5 GB", "3 GB", "1 GB"},
     kTitle},
    // A negative amount is read as written; a record is never negative.
    {"minus_sign",
     amount_log("-2147483648"),
     "",
     {{"2005", -1}},
     {1},
     {"1024 MB", "512 MB", "-1024 MB", "1024 MB"},
     kTitle},
    {"thousands_points", amount_log("2.147.483.648"), "'2.147.483.648" + kFloatFails, {}, {}, kUnwritten, "Download"},
    {"hexadecimal", amount_log("0x80000000"), "'0x80000000" + kFloatFails, {}, {}, kUnwritten, "Download"},
    {"inf", amount_log("inf"), "'inf" + kFloatFails, {}, {}, kUnwritten, "Download"},
    {"nan", amount_log("nan"), "'nan" + kFloatFails, {}, {}, kUnwritten, "Download"},
    // Nineteen digits are exact; shown in TB, the 0.5 GB upload record rounds to 0.
    {"nineteen_digits",
     amount_log("9223372036854775807"),
     "",
     {{"2005", 8589934593}},
     {1},
     {"8388608 TB", "0 TB", "8388608 TB", "0 TB"},
     kTitle},
    {"four_hundred_digits",
     amount_log("1" + std::string(399, '0')),
     "'1" + std::string(99, '0') + "..." + kFloatFails,
     {},
     {},
     kUnwritten,
     "Download"},

    // Dates.
    {"one_digit_day_first",
     day("1-Jan-2005") + day("02-Jan-2005"),
     "'1-Jan-2005' is not a valid date",
     {},
     {},
     kUnwritten,
     "Download"},
    {"one_digit_day_later",
     day("01-Jan-2005") + day("02-Jan-2005") + day("3-Jan-2005") + day("04-Jan-2005"),
     "'3-Jan-2005' is not a valid date",
     {{"2005", 2}},
     {1},
     kUnwritten,
     "Download"},
    {"lower_case_month",
     day("01-Jan-2005") + day("02-jan-2005") + day("03-Jan-2005"),
     "'02-jan-2005' is not a valid date",
     {},
     {},
     kUnwritten,
     "Download"},
    // Each run of a year is its own bar; the months of 2005 are those of its
    // first run.
    {"years_out_of_order",
     day("01-Jan-2005") + day("02-Jan-2005") + day("01-Jan-2006") + day("02-Jan-2006") + day("03-Jan-2005"),
     "",
     {{"2005", 2}, {"2006", 2}, {"2005", 1}},
     {1, 1, 0.5},
     {"1024 MB", "512 MB", "5 GB", "2.5 GB"},
     kTitle,
     {},
     {PeriodOption::PerMonth, "2005", "", {"Januari"}, ""}},
    // The same day twice counts twice and shows twice.
    {"same_day_twice",
     day("01-Jan-2005") + day("01-Jan-2005") + day("02-Jan-2005"),
     "",
     {{"2005", 3}},
     {1.5},
     kThreeDaysCaptions,
     kTitle,
     {},
     {PeriodOption::PerDay, "2005", "Januari", {"01", "01", "02"}, ""}},

    // Long lines: further fields are never read, an amount is quoted cut.
    {"two_megabyte_line",
     day("01-Jan-2005") + "02-Jan-2005," + G + "," + H + "," + std::string(2 << 20, 'x') + "\r\n" + day("03-Jan-2005"),
     "",
     {{"2005", 3}},
     {1.5},
     kThreeDaysCaptions,
     kTitle},
    {"two_megabyte_amount",
     day("01-Jan-2005") + day("02-Jan-2005", std::string(2 << 20, '1')),
     "'" + std::string(100, '1') + "..." + kFloatFails,
     {},
     {},
     kUnwritten,
     "Download"},
};

class BadLogs : public test::SessionTest, public ::testing::WithParamInterface<BadLog> {};

// The messages told, without the file and line before them (which
// FailureTexts looks at).
std::vector<std::string> kept(const Outcome& outcome) {
    std::vector<std::string> texts;
    for (const Notice& notice : outcome.notices)
        texts.push_back(std::regex_replace(notice.text, std::regex("^log\\.csv, regel [0-9]+: "), ""));
    return texts;
}

TEST_P(BadLogs, TellTheirFailureAndShowWhatWasReached) {
    const BadLog& c = GetParam();
    separators_ = c.seps;
    start(c.log);
    EXPECT_EQ(kept(outcome_), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});

    std::vector<std::pair<std::string, double>> bars;
    for (const auto& p : screen().download.points()) bars.emplace_back(p.label, p.value);
    EXPECT_EQ(bars, c.bars);
    std::vector<double> upload;
    for (const auto& p : screen().upload.points()) upload.push_back(p.value);
    EXPECT_EQ(upload, c.upload);
    const Captions captions = {screen().record_download, screen().record_upload, screen().total_download,
                               screen().total_upload};
    EXPECT_EQ(captions, c.captions);
    EXPECT_EQ(screen().download.titles(), std::vector<std::string>{c.title});

    if (c.then.option == PeriodOption::None) return;
    session_->choose_option(c.then.option);
    session_->set_year(c.then.year);
    session_->set_month(c.then.month);
    const Outcome then = session_->make_stats();
    EXPECT_EQ(kept(then),
              c.then.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.then.message});
    std::vector<std::string> labels;
    for (const auto& p : screen().download.points()) labels.push_back(p.label);
    EXPECT_EQ(labels, c.then.labels);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadLogs, ::testing::ValuesIn(kBadLogs),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// A 100 MB log: 50,000 days from 1900 with long further fields.
TEST_F(SessionTest, AHundredMegabyteLogIsReadWhole) {
    const std::string padding(2100, 'p');
    std::string log;
    log.reserve(50000 * (padding.size() + 40));
    for (const auto& date : days_from(1900, 1, 1, 50000)) log += date + "," + G + "," + H + "," + padding + ",\r\n";
    ASSERT_GT(log.size(), 100u << 20);
    start(log);
    EXPECT_TRUE(outcome_.notices.empty());
    const auto& bars = screen().download.points();
    ASSERT_EQ(bars.size(), 137u);  // 1900 to 2036
    EXPECT_EQ(bars.front().label, "1900");
    EXPECT_EQ(bars.front().value, 365);  // 1900 was no leap year
    EXPECT_EQ(bars[4].value, 366);
    EXPECT_EQ(bars.back().label, "2036");
    // 50,000 GB is 48.83 TB.
    EXPECT_EQ(screen().total_download, "48.83 TB");
    EXPECT_EQ(screen().total_upload, "24.41 TB");
    EXPECT_EQ(screen().record_download, "1024 MB");
    EXPECT_EQ(screen().download.titles(), std::vector<std::string>{"Download per jaar sinds 01 Januari 1900"});
}

}  // namespace
}  // namespace loglezer
