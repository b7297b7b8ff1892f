#include <gtest/gtest.h>

#include "app/selectors.h"
#include "frontend/messages.h"

using namespace loglezer;

namespace {

TEST(Selectors, VisibilityByOption) {
    const std::tuple<int, bool, bool> table[] = {
        {-1, false, false}, {0, false, false}, {1, true, false}, {2, true, true}};
    for (const auto& [index, year, month] : table) {
        EXPECT_EQ(selector_visibility(period_option_at(index)).year, year) << index;
        EXPECT_EQ(selector_visibility(period_option_at(index)).month, month) << index;
    }
}

TEST(Selectors, ProgramTitleFromTheExecutableName) {
    const std::pair<const char*, const char*> table[] = {
        {"/usr/bin/loglezer", "loglezer"},
        {"C:\\Program Files\\PELLICOR.EXE", "Pellicor"},
        {"/opt/x/LogLezer.app.bin", "Loglezer"},
        {"plain", "plain"},
        {"/a.b/c", "c"},
    };
    for (const auto& [path, title] : table) EXPECT_EQ(program_title(path), title) << path;
}

TEST(Selectors, FailureTextGetsAFullStopAfterALetterOrDigit) {
    const std::pair<const char*, const char*> table[] = {
        {"'x' is not a valid integer value", "'x' is not a valid integer value."},
        {"List index out of bounds (3)", "List index out of bounds (3)"},
        {"Done.", "Done."},
        {"ends in 7", "ends in 7."},
        {"ends in -", "ends in -"},
        {"ends in /", "ends in /."},
        {"ends in \xe9", "ends in \xe9."},
        {"", ""},
    };
    for (const auto& [message, shown] : table) EXPECT_EQ(failure_text(message), shown) << message;
}

}  // namespace
