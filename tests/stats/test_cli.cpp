#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "stats/cli.h"

namespace loglezer::cli {
namespace {

TEST(ParseArguments, Views) {
    auto o = parse_arguments({});
    EXPECT_FALSE(o.year);
    EXPECT_EQ(o.format, Format::Table);
    o = parse_arguments({"--year", "2005", "--csv"});
    EXPECT_EQ(o.year, "2005");
    EXPECT_EQ(o.format, Format::Csv);
    o = parse_arguments({"--year=2005", "--month=Maart", "--json", "--log", "x.csv"});
    EXPECT_EQ(o.year, "2005");
    EXPECT_EQ(o.month, "Maart");
    EXPECT_EQ(o.log, "x.csv");
    EXPECT_EQ(o.format, Format::Json);
    EXPECT_TRUE(parse_arguments({"--help"}).help);
    EXPECT_TRUE(parse_arguments({"--version"}).version);
}

TEST(ParseArguments, Mistakes) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--month", "3"}, {"--csv", "--json"}, {"--year"}, {"--bogus"}, {"2005"}, {"--yearly"}}) {
        EXPECT_THROW(parse_arguments(args), UsageError) << args[0];
    }
}

TEST(MonthText, NumbersBecomeDutchNamesOtherTextStays) {
    EXPECT_EQ(month_text_for("1"), "Januari");
    EXPECT_EQ(month_text_for("03"), "Maart");
    EXPECT_EQ(month_text_for("12"), "December");
    EXPECT_EQ(month_text_for("Mei"), "Mei");
    EXPECT_EQ(month_text_for("13"), "13");
    EXPECT_EQ(month_text_for("0"), "0");
    EXPECT_EQ(month_text_for("mei"), "mei");  // taken as typed: it holds no Dutch name
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
        download.add_point(1234.56, "Januari");
        upload.add_point(0.5, "Januari");
        download.add_point(0, "Februari");
        upload.add_point(12.3, "Februari");
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

TEST_F(Rendered, CsvHasGigabytesWithAPoint) {
    const View view{"maand", download, upload, std::nullopt};
    EXPECT_EQ(render_csv(view), "label,download,upload\nJanuari,1234.56,0.5\nFebruari,0,12.3\n");
}

TEST_F(Rendered, JsonFieldsAndTotals) {
    const View view{"jaar", download, upload, LabelCaptions{"5 GB", "0,49 GB", "1,5 TB", "300 GB"}};
    const auto doc = nlohmann::json::parse(render_json(view));
    EXPECT_EQ(doc["view"], "jaar");
    EXPECT_EQ(doc["titles"], nlohmann::json({"Download per maand 2005", "Upload per maand 2005"}));
    ASSERT_EQ(doc["bars"].size(), 2u);
    EXPECT_EQ(doc["bars"][0]["label"], "Januari");
    EXPECT_EQ(doc["bars"][0]["download"], 1234.56);
    EXPECT_EQ(doc["bars"][1]["upload"], 12.3);
    EXPECT_EQ(doc["totals"]["download"], "1,5 TB");
    EXPECT_EQ(doc["totals"]["upload"], "300 GB");
    EXPECT_EQ(doc["records"]["download"], "5 GB");
    EXPECT_EQ(doc["records"]["upload"], "0,49 GB");
}

TEST_F(Rendered, LabelsAreLatin1AndQuotedInCsv) {
    download.add_point(1, "a,\xe9");
    upload.add_point(2, "a,\xe9");
    const View view{"dag", download, upload, std::nullopt};
    const std::string csv = render_csv(view);
    EXPECT_NE(csv.find("\"a,\xc3\xa9\",1,2\n"), std::string::npos) << csv;
    const auto doc = nlohmann::json::parse(render_json(view));
    EXPECT_EQ(doc["bars"][2]["label"], "a,\xc3\xa9");
    EXPECT_FALSE(doc.contains("totals"));
}

struct ControlCase {
    const char* name;
    const char* log_byte;
    const char* shown;
};

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
    EXPECT_THAT(render_csv(view), HasSubstr("\n" + shown + ",1,2\n"));
    EXPECT_EQ(message_text("'" + text + "' is not a valid date"), "'" + shown + "' is not a valid date");
}

INSTANTIATE_TEST_SUITE_P(Bytes, ControlCharacters,
                         ::testing::Values(ControlCase{"Escape", "\x1b", "?"}, ControlCase{"Bell", "\x07", "?"},
                                           ControlCase{"Delete", "\x7f", "?"}, ControlCase{"C1Csi", "\x9b", "?"},
                                           ControlCase{"Latin1Letter", "\xe9", "\xc3\xa9"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace loglezer::cli
