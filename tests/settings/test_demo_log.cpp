#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "log/line_format.h"
#include "log/log_file.h"
#include "log/number_text.h"
#include "settings/log_lookup.h"
#include "tools/loggen.h"

namespace {

const std::filesystem::path kDemo = LOGLEZER_DEMO_DIR;

TEST(DemoLog, IsWhatTheGeneratorMakes) {
    std::ifstream in(kDemo / "log.csv", std::ios::binary);
    const std::string committed(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(committed, loglezer::tools::generate_log(loglezer::tools::demo_shape()));
}

TEST(DemoLog, LoadsThroughItsSettingsFileAndEveryLineReads) {
    const auto log = loglezer::find_log({kDemo, std::nullopt});
    ASSERT_TRUE(log.has_value());
    const loglezer::LineList lines = loglezer::load_log(kDemo, log->path.string());
    EXPECT_GT(lines.count(), 4 * 360);
    EXPECT_NE(loglezer::month_abbrev(lines.at(0)), "Jan");  // begins in the middle of a year

    std::set<std::string> years, new_years;
    for (int i = 0; i < lines.count(); ++i) {
        const auto line = lines.at(i);
        ASSERT_EQ(loglezer::date_field(line).size(), 11u) << line;
        const auto texts = loglezer::amount_texts(line, loglezer::DateSkip::FirstTwelve);
        const long double down = loglezer::text_to_float(texts.download, {});
        const long double up = loglezer::text_to_float(texts.upload, {});
        EXPECT_GT(down, 1e8L) << line;
        EXPECT_LT(down, 2e10L) << line;
        EXPECT_LT(up, down) << line;
        years.insert(std::string(loglezer::year_text(line)));
        if (line.substr(0, 6) == "01-Jan") new_years.insert(std::string(loglezer::year_text(line)));
    }
    EXPECT_EQ(years.size(), 5u);
    // One year in the log lacks its 1 January line.
    EXPECT_EQ(new_years.size(), years.size() - 2);
}

}  // namespace
