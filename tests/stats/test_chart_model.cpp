// The model of what a chart shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stats/chart_model.h"

namespace loglezer {
namespace {

// Sixteen colours from red, each bar of a chart of up to sixteen its own.
TEST(Palette, SixteenDistinctColoursFromRed) {
    EXPECT_EQ(auto_colour(0), (Rgb{0xFF, 0x00, 0x00}));
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < i; ++j) EXPECT_FALSE(auto_colour(i) == auto_colour(j)) << i << " and " << j;
    }
}

TEST(Palette, WrapsAtSixteen) {
    ChartModel model("Download");
    for (int i = 0; i < 31; ++i) model.add_point(i, std::to_string(i + 1));
    ASSERT_EQ(model.points().size(), 31u);
    EXPECT_EQ(model.points()[16].colour, (Rgb{0xFF, 0x00, 0x00}));
    EXPECT_EQ(model.points()[4].colour, (Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(model.points()[20].colour, (Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(model.points()[30].colour, (Rgb{0x00, 0xFF, 0xFF}));
    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(model.points()[i].colour, auto_colour(i % 16)) << i;
    }
}

TEST(Palette, PositionCountsAgainAfterClearing) {
    ChartModel model("Upload");
    model.add_point(1, "a");
    model.add_point(2, "b");
    model.clear_points();
    model.add_point(3, "c");
    EXPECT_EQ(model.points()[0].colour, (Rgb{0xFF, 0x00, 0x00}));
}

TEST(Model, InitialStateAndChangeCallback) {
    ChartModel model("Download");
    EXPECT_EQ(model.titles(), std::vector<std::string>{"Download"});
    EXPECT_TRUE(model.is_3d());
    EXPECT_EQ(model.value_format(), "#,##0.### GB");
    EXPECT_TRUE(model.points().empty());
    int calls = 0;
    model.set_on_change([&] { ++calls; });
    model.add_point(1, "x");
    model.clear_points();
    model.clear_titles();
    model.add_title("t");
    model.set_3d(false);
    model.set_value_format("0");
    EXPECT_EQ(calls, 6);
    model.clear_points();
    EXPECT_EQ(model.value_format(), "0");  // emptying keeps the format
}

// The file name a picture is offered under, after the chart's first title.
struct PictureNameCase {
    const char* name;
    std::vector<std::string> titles;
    const char* file;
};

void PrintTo(const PictureNameCase& c, std::ostream* os) { *os << c.name; }

class PictureName : public ::testing::TestWithParam<PictureNameCase> {};

TEST_P(PictureName, FollowsTheTitle) {
    ChartModel model("Download");
    model.clear_titles();
    for (const std::string& title : GetParam().titles) model.add_title(title);
    EXPECT_EQ(picture_file_name(model), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, PictureName,
    ::testing::Values(PictureNameCase{"Monthly", {"Download per maand 2026"}, "download-per-maand-2026.jpg"},
                      PictureNameCase{"Yearly",
                                      {"Upload per jaar sinds 01 Januari 2005"},
                                      "upload-per-jaar-sinds-01-januari-2005.jpg"},
                      PictureNameCase{"Daily", {"Download per dag Juni 2026"}, "download-per-dag-juni-2026.jpg"},
                      PictureNameCase{"FirstLineOnly", {"Bundel 2026", "tweede regel"}, "bundel-2026.jpg"},
                      PictureNameCase{"OtherCharactersAreOneDash", {" Upload -- per\xe9jaar! "}, "upload-per-jaar.jpg"},
                      PictureNameCase{"NoTitle", {}, "grafiek.jpg"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
