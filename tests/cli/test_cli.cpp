#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/csv_view.h"
#include "cli/json_view.h"
#include "cli/numbers.h"
#include "cli/table_view.h"
#include "cli/top_report.h"
#include "text/dates.h"
#include "text/terminal_text.h"

namespace loglezer::cli {
namespace {

TEST(ParseArguments, Views) {
    auto o = parse_arguments({});
    EXPECT_FALSE(o.year);
    EXPECT_EQ(o.format, Format::Table);
    o = parse_arguments({"--year", "2005", "--csv"});
    EXPECT_EQ(o.year, "2005");
    EXPECT_EQ(o.format, Format::Csv);
    o = parse_arguments({"--year=2005", "--month=Maart", "--json", "--log", "x.csv", "--"});
    EXPECT_EQ(o.year, "2005");
    EXPECT_EQ(o.month, 3);
    EXPECT_EQ(o.log, "x.csv");
    EXPECT_EQ(o.format, Format::Json);
    EXPECT_EQ(parse_arguments({"--top", "7", "--year", "2005"}).top, 7);
    EXPECT_TRUE(parse_arguments({"--check", "--json"}).check);
    o = parse_arguments({"--allowance", "--limit=1,5 TB", "--start-day", "14", "--counts", "Upload", "--today",
                         "2024-02-29", "--warn", "80,5", "--json"});
    EXPECT_TRUE(o.allowance);
    EXPECT_EQ(o.allowance_options.given.limit->bytes, 1.5e12L);
    EXPECT_EQ(o.allowance_options.given.start_day, 14);
    EXPECT_EQ(o.allowance_options.given.counts, Counted::Upload);
    EXPECT_EQ(iso_date(*o.allowance_options.today), "2024-02-29");
    EXPECT_EQ(o.allowance_options.warn, 80.5L);
    EXPECT_TRUE(parse_arguments({"--periods", "--year", "2024", "--csv"}).periods);
    EXPECT_TRUE(parse_arguments({"--help"}).help);
    EXPECT_TRUE(parse_arguments({"--version"}).version);
}

TEST(ParseArguments, MistakesSayWhat) {
    using ::testing::ThrowsMessage;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--month", "3"}, "--month needs --year"},
        {{"--csv", "--json"}, "--csv and --json exclude each other"},
        {{"--year"}, "--year needs a value"},
        {{"--bogus"}, "unknown option '--bogus' (see --help)"},
        {{"--yearly"}, "unknown option '--yearly' (see --help)"},
        {{"2005"}, "unexpected argument '2005' (see --help)"},
        {{"--", "--year"}, "unexpected argument '--year' (see --help)"},
        {{"--year", "2005", "--month", "13"}, "--month: '13' is not a month (1-12 or a month name)"},
        {{"--top", "0"}, "--top: '0' is not a number of days (1 to 999999999)"},
        {{"--top", "1000000000"}, "--top: '1000000000' is not a number of days (1 to 999999999)"},
        {{"--top", "2", "--year", "2005", "--month", "3"}, "--top takes no --month"},
        {{"--check", "--csv"}, "--check takes no --year, --month, --top or --csv"},
        {{"--allowance", "--periods"}, "--allowance and --periods exclude each other"},
        {{"--allowance", "--csv"}, "--allowance takes no --check, --top, --year or --csv"},
        {{"--periods", "--top", "3"}, "--periods takes no --check, --top or --month"},
        {{"--limit", "5"}, "--limit, --start-day, --counts and --today need --allowance or --periods"},
        {{"--periods", "--warn", "80"}, "--warn needs --allowance"},
        {{"--allowance", "--limit", "5 PB"}, "--limit: '5 PB' is not an amount"},
        {{"--allowance", "--counts=all"}, "--counts: 'all' is not download, upload or both"},
        {{"--allowance", "--today", "2026-02-29"}, "--today: '2026-02-29' is not a day written YYYY-MM-DD"},
        {{"--allowance", "--today", "8-12-2026"}, "--today: '8-12-2026' is not a day written YYYY-MM-DD"},
        {{"--allowance", "--warn", "0"}, "--warn: '0' is not a percentage above 0, up to 100"},
        {{"--allowance", "--warn", "100.5"}, "--warn: '100.5' is not a percentage above 0, up to 100"},
        // An argument the user typed is quoted whole, however long.
        {{std::string(150, 'x')}, "unexpected argument '" + std::string(150, 'x') + "' (see --help)"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_THAT([&] { parse_arguments(args); }, ThrowsMessage<UsageError>(message)) << args[0];
    }
}

// Every spelling --month takes, and some it does not.
TEST(MonthArgument, NumbersAndDutchAndEnglishNamesInAnyCase) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"1", 1},
        {"01", 1},
        {"3", 3},
        {"12", 12},
        {"Maart", 3},
        {"maart", 3},
        {"MAART", 3},
        {"March", 3},
        {"mar", 3},
        {"Mei", 5},
        {"may", 5},
        {"Oktober", 10},
        {"october", 10},
        {"Oct", 10},
        {"DECEMBER", 12},
        {"13", std::nullopt},
        {"0", std::nullopt},
        {"00", std::nullopt},
        {"001", std::nullopt},
        {"", std::nullopt},
        {" 3", std::nullopt},
        {"Mrt", std::nullopt},
        {"Marc", std::nullopt},
        {"Maart ", std::nullopt},
    };
    for (const auto& [text, month] : cases) EXPECT_EQ(month_from_argument(text), month) << "'" << text << "'";
}

struct Rendered : ::testing::Test {
    ChartModel download{"Download"};
    ChartModel upload{"Upload"};
    void SetUp() override {
        download.clear_titles();
        download.add_title("Download per maand 2005");
        upload.clear_titles();
        upload.add_title("Upload per maand 2005");
        download.set_value_format("#.###,## GB");
        upload.set_value_format("#.###,## GB");
        download.add_point(1234.56, "Januari", 1325598706237.0L);
        upload.add_point(0.5, "Januari", 536870912.0L);
        download.add_point(0, "Februari", 0);
        upload.add_point(12.3, "Februari", 13207024435.2L);
    }
};

TEST_F(Rendered, TableWritesTheMarksWithTheRegionalSeparators) {
    const View view{"maand", download, upload, std::nullopt};
    EXPECT_EQ(render_table(view, Separators{',', '.'}),
              "Download per maand 2005\n"
              "Upload per maand 2005\n"
              "\n"
              "Maand        Download   Upload\n"
              "Januari   1.234,56 GB    ,5 GB\n"
              "Februari           GB  12,3 GB\n");
}

TEST_F(Rendered, CsvHasGigabytesWithAPointAndTheBytes) {
    View view{"maand", download, upload, std::nullopt};
    view.year = 2005;
    EXPECT_EQ(render_csv(view),
              "date,label,download_gb,upload_gb,download_bytes,upload_bytes\n"
              "2005-01,Januari,1234.56,0.5,1325598706237,536870912\n"
              "2005-02,Februari,0,12.3,0,13207024435.2\n");
}

TEST_F(Rendered, JsonFieldsAndTotals) {
    ExactFigures exact{9e18L, 12345, 5368709120.0L, 0.5L, "2005-03-01", std::nullopt};
    const View view{"jaar", download, upload, LabelCaptions{"5 GB", "0,49 GB", "1,5 TB", "300 GB"}, exact};
    const auto doc = nlohmann::json::parse(render_json(view));
    EXPECT_EQ(doc["format"], 1);
    EXPECT_EQ(doc["view"], "jaar");
    EXPECT_EQ(doc["titles"], nlohmann::json({"Download per maand 2005", "Upload per maand 2005"}));
    ASSERT_EQ(doc["bars"].size(), 2u);
    EXPECT_EQ(doc["bars"][0]["label"], "Januari");
    EXPECT_EQ(doc["bars"][0]["download"], 1234.56);
    EXPECT_EQ(doc["bars"][0]["date"], nullptr);  // a per-year bar's label is its year
    EXPECT_TRUE(doc["bars"][0]["download_bytes"].is_number_integer());
    EXPECT_EQ(doc["bars"][0]["download_bytes"], 1325598706237);
    EXPECT_EQ(doc["bars"][1]["upload"], 12.3);
    EXPECT_EQ(doc["bars"][1]["upload_bytes"], 13207024435.2);
    EXPECT_EQ(doc["totals"], nlohmann::json::parse(R"({"download": "1,5 TB", "upload": "300 GB",
        "download_bytes": 9000000000000000000, "upload_bytes": 12345})"));
    EXPECT_EQ(doc["records"], nlohmann::json::parse(R"({"download": "5 GB", "upload": "0,49 GB",
        "download_bytes": 5368709120, "upload_bytes": 0.5, "download_date": "2005-03-01", "upload_date": null})"));
}

TEST(JsonBytes, IntegersBelowTwoToTheSixtyThreeElseNumbers) {
    EXPECT_EQ(json_bytes(9223372036854775807.0L).dump(), "9223372036854775807");
    EXPECT_EQ(json_bytes(9223372036854775808.0L).dump(), "9.223372036854776e+18");
    EXPECT_EQ(json_bytes(-3).dump(), "-3");
    EXPECT_EQ(bytes_text(2.5L), "2.5");
    EXPECT_EQ(bytes_text(1e400L), "1e+400");  // beyond a double
    EXPECT_EQ(bytes_text(31e307L), "3.1e+308");
    EXPECT_EQ(fixed_text(0.5, 2), "0.50");
}

// An amount beyond the range of a double in each object the JSON holds
// amounts in: written as the largest double, the object marked.
struct OverflowCase {
    const char* name;
    std::function<std::string(ChartModel& download, ChartModel& upload)> render;
    const char* object;  // JSON pointer
    const char* field;
};

void PrintTo(const OverflowCase& c, std::ostream* os) { *os << c.name; }

class Overflow : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(Overflow, IsTheLargestDoubleInAnObjectMarkedOverflow) {
    const OverflowCase& c = GetParam();
    ChartModel download("Download");
    ChartModel upload("Upload");
    download.add_point(1, "2005", 1073741824.0L);
    upload.add_point(2, "2005", 2147483648.0L);
    const std::string text = c.render(download, upload);
    const auto doc = nlohmann::json::parse(text);
    const auto& object = doc.at(nlohmann::json::json_pointer(c.object));
    EXPECT_EQ(object.at(c.field), std::numeric_limits<double>::max());
    EXPECT_EQ(object.at("overflow"), true);
    // The other objects keep their ordinary fields alone.
    EXPECT_EQ(text.find("overflow"), text.rfind("overflow")) << text;
}

const long double kBeyond = 1e400L;

std::string year_json(ChartModel& download, ChartModel& upload, const ExactFigures& exact) {
    const View view{"jaar", download, upload, LabelCaptions{"1 GB", "2 GB", "3 GB", "4 GB"}, exact};
    return render_json(view);
}

std::string top_json(const TopDay& download_day) {
    TopDays top;
    top.download.push_back(download_day);
    return render_top_json(top, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, Overflow,
    ::testing::Values(
        OverflowCase{"BarBytes",
                     [](ChartModel& download, ChartModel& upload) {
                         download.add_point(2, "2006", kBeyond);
                         upload.add_point(2, "2006", 5);
                         return year_json(download, upload, ExactFigures{});
                     },
                     "/bars/1", "download_bytes"},
        OverflowCase{"BarGigabytes",
                     [](ChartModel& download, ChartModel& upload) {
                         download.add_point(1, "2006", 5);
                         upload.add_point(std::numeric_limits<double>::infinity(), "2006", 5);
                         return year_json(download, upload, ExactFigures{});
                     },
                     "/bars/1", "upload"},
        OverflowCase{"Totals",
                     [](ChartModel& download, ChartModel& upload) {
                         return year_json(download, upload, ExactFigures{1, kBeyond, 1, 1, std::nullopt, std::nullopt});
                     },
                     "/totals", "upload_bytes"},
        OverflowCase{"Records",
                     [](ChartModel& download, ChartModel& upload) {
                         return year_json(download, upload, ExactFigures{1, 1, kBeyond, 1, std::nullopt, std::nullopt});
                     },
                     "/records", "download_bytes"},
        OverflowCase{"TopDay",
                     [](ChartModel&, ChartModel&) {
                         return top_json(TopDay{0, {2005, 1, 1}, kBeyond, 1});
                     },
                     "/download/0", "bytes"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST_F(Rendered, LabelsAreLatin1AndQuotedInCsv) {
    download.add_point(1, "a,\xe9");
    upload.add_point(2, "a,\xe9");
    const View view{"dag", download, upload, std::nullopt};
    const std::string csv = render_csv(view);
    EXPECT_NE(csv.find(",\"a,\xc3\xa9\",1,2,0,0\n"), std::string::npos) << csv;
    const auto doc = nlohmann::json::parse(render_json(view));
    EXPECT_EQ(doc["bars"][2]["label"], "a,\xc3\xa9");
    EXPECT_FALSE(doc.contains("totals"));
}

struct ControlCase {
    const char* name;
    const char* log_byte;
    const char* shown;
};

void PrintTo(const ControlCase& c, std::ostream* os) { *os << c.name; }

class ControlCharacters : public Rendered, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(ControlCharacters, ReachTheTerminalAsQuestionMarks) {
    using ::testing::HasSubstr;
    const ControlCase& c = GetParam();
    const std::string text = std::string("a") + c.log_byte + "b";
    const std::string shown = std::string("a") + c.shown + "b";
    download.add_title(text);
    download.add_point(1, text);
    upload.add_point(2, text);
    const View view{"dag", download, upload, std::nullopt};
    const std::string table = render_table(view, Separators{',', '.'});
    EXPECT_THAT(table, HasSubstr("\n" + shown + "\n"));
    EXPECT_THAT(table, HasSubstr("\n" + shown + "    "));
    EXPECT_THAT(render_csv(view), HasSubstr("\n," + shown + ",1,2,0,0\n"));
    EXPECT_EQ(message_text("'" + text + "' is not a valid date"), "'" + shown + "' is not a valid date");
}

INSTANTIATE_TEST_SUITE_P(Bytes, ControlCharacters,
                         ::testing::Values(ControlCase{"Escape", "\x1b", "?"}, ControlCase{"Bell", "\x07", "?"},
                                           ControlCase{"Delete", "\x7f", "?"}, ControlCase{"C1Csi", "\x9b", "?"},
                                           ControlCase{"Latin1Letter", "\xe9", "\xc3\xa9"}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer::cli
