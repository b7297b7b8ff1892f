// The window, --export and loglezer-stats take their separators from one
// place: the C library's locale for numbers, as the environment names it.
// Under every environment the three read and write amounts alike.

#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "app/window.h"
#include "text/regional.h"
#include "text/value_format.h"

namespace loglezer {
namespace {

namespace fs = std::filesystem;

struct LocaleCase {
    const char* name;
    // What the C library (glibc 2.36) gives as decimal_point and thousands_sep.
    const char* c_decimal;
    const char* c_group;
    const char* figure;  // 1234567.5 under "#,##0.### GB"
};

void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }

class Locales : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(Locales, SeparatorTextsGiveTheFigure) {
    const LocaleCase& c = GetParam();
    EXPECT_EQ(format_value(1234567.5, "#,##0.### GB", separators_from_texts(c.c_decimal, c.c_group)), c.figure);
}

INSTANTIATE_TEST_SUITE_P(Table, Locales,
                         ::testing::Values(LocaleCase{"C", ".", "", "1234567.5 GB"},
                                           LocaleCase{"en_US", ".", ",", "1,234,567.5 GB"},
                                           LocaleCase{"nl_NL", ",", ".", "1.234.567,5 GB"},
                                           LocaleCase{"fr_FR", ",", "\u202f", "1 234 567,5 GB"},
                                           LocaleCase{"de_CH", ".", "\u2019", "1'234'567.5 GB"}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// The variables that choose a locale; a case sets some and unsets the rest.
// "{generated}" is the folder of the tests' Dutch locale, "{empty}" one
// without any, so that nl_NL.UTF-8 there is a locale that is not installed.
const char* const kLocaleVariables[] = {"LC_ALL", "LC_NUMERIC", "LANG", "LOCPATH"};
using Variables = std::map<std::string, std::string>;

struct EnvironmentCase {
    const char* name;
    Variables variables;
    Separators separators;  // expected of all three
    const char* tool_warning;
};

void PrintTo(const EnvironmentCase& c, std::ostream* os) { *os << c.name; }

struct ProgramRun {
    int status;
    std::string out, err;
};

class Environments : public ::testing::TestWithParam<EnvironmentCase> {
protected:
    fs::path dir = fs::temp_directory_path() / ("loglezer_environments_" + std::to_string(::getpid()));
    std::map<std::string, std::optional<std::string>> saved_;

    void SetUp() override {
        fs::create_directories(dir / "no_locales");
        ASSERT_TRUE(fs::exists(LOGLEZER_TEST_LOCPATH "/nl_NL.UTF-8/LC_NUMERIC")) << "the build generates it";
        for (const char* name : kLocaleVariables) {
            const char* value = std::getenv(name);
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
        fs::remove_all(dir);
    }

    Variables variables() const {
        Variables set;
        for (auto [name, value] : GetParam().variables) {
            if (value == "{generated}") value = LOGLEZER_TEST_LOCPATH;
            if (value == "{empty}") value = (dir / "no_locales").string();
            set[name] = value;
        }
        return set;
    }

    // The window's separators, taken as the window takes them at its start.
    Separators window_separators() const {
        for (const char* name : kLocaleVariables) ::unsetenv(name);
        for (const auto& [name, value] : variables()) ::setenv(name.c_str(), value.c_str(), 1);
        return WindowSeams::real().separators;
    }

    ProgramRun run(const char* program, const QStringList& args) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : kLocaleVariables) env.remove(QString::fromLatin1(name));
        for (const auto& [name, value] : variables()) {
            env.insert(QString::fromStdString(name), QString::fromStdString(value));
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(dir.string()));
        process.start(QString::fromLatin1(program), args);
        EXPECT_TRUE(process.waitForFinished(30000));
        const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return {status, process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
    }

    void write(const char* name, const std::string& content) const {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
};

TEST_P(Environments, WindowExportAndToolReadAndWriteAlike) {
    const EnvironmentCase& c = GetParam();
    const Separators window = window_separators();
    EXPECT_EQ(window.decimal, c.separators.decimal);
    EXPECT_EQ(window.thousands, c.separators.thousands);

    // What the tool writes: 1234567.5 GB, a day of 1234567.5 x 2^30 bytes.
    write("large.csv", "01-Jan-2005,1325606759301120,0,\n");
    const ProgramRun top = run(LOGLEZER_STATS_EXE, {"--top", "1", "--log", "large.csv"});
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find(format_value(1234567.5, "#,##0.00 GB", window)), std::string::npos) << top.out;
    EXPECT_EQ(top.err, c.tool_warning);

    // What the tool and the export read: "1.5" is an amount under a decimal
    // point only.
    write("point.csv", "01-Jan-2005,1.5,2,\n");
    const bool point = c.separators.decimal == '.';
    EXPECT_EQ(run(LOGLEZER_STATS_EXE, {"--check", "--log", "point.csv"}).status, point ? 0 : 1);
    EXPECT_EQ(run(LOGLEZER_EXE, {"point.csv", "--export", "point.png"}).status, point ? 0 : 1);
}

const Separators kPoint{'.', Separators::kNoGrouping};
const Separators kComma{',', '.'};
const char* const kNotInstalled =
    "loglezer-stats: the locale nl_NL.UTF-8 is not installed; reading amounts with \".\" as the decimal point\n";

INSTANTIATE_TEST_SUITE_P(
    Table, Environments,
    ::testing::Values(
        EnvironmentCase{"C", {{"LC_ALL", "C"}}, kPoint, ""}, EnvironmentCase{"NoneNamed", {}, kPoint, ""},
        EnvironmentCase{"GeneratedCommaLocale", {{"LOCPATH", "{generated}"}, {"LANG", "nl_NL.UTF-8"}}, kComma, ""},
        EnvironmentCase{"AbsentCommaLocale", {{"LOCPATH", "{empty}"}, {"LANG", "nl_NL.UTF-8"}}, kPoint, kNotInstalled},
        EnvironmentCase{"NumericBeforeLang",
                        {{"LOCPATH", "{generated}"}, {"LANG", "C"}, {"LC_NUMERIC", "nl_NL.UTF-8"}},
                        kComma,
                        ""},
        EnvironmentCase{"AllBeforeNumeric",
                        {{"LOCPATH", "{generated}"}, {"LC_ALL", "C"}, {"LC_NUMERIC", "nl_NL.UTF-8"}},
                        kPoint,
                        ""}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace loglezer
