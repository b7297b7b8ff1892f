// Both programs run where they cannot do everything: from a working
// directory that has been removed, without a display, short of memory.
// Each ends with one line on standard error and a status, never an abort.

#include <gmock/gmock.h>

#include <QProcess>

#include "child_process.h"
#include "window_fixture.h"

namespace {

using namespace test_support;
using ::testing::Eq;

const std::map<std::string, std::optional<std::string>> kNoDisplay = {
    {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", std::nullopt}};
const std::map<std::string, std::optional<std::string>> kEmptyDisplay = {
    {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};

const std::string kViewerGone = "loglezer: the working directory no longer exists\n";
const std::string kStatsGone = "loglezer-stats: the working directory no longer exists\n";
const std::string kNoDisplayLine = "loglezer: no display to open the window on (use --export FILE for a picture)\n";

struct Surroundings {
    const char* name;
    const char* program;
    std::vector<std::string> args;  // "{dir}" stands for the test's folder
    bool dir_removed;               // run in a folder removed once entered
    std::map<std::string, std::optional<std::string>> env;
    int status;
    ::testing::Matcher<const std::string&> err;  // standard error
};

void PrintTo(const Surroundings& s, std::ostream* os) { *os << s.name; }

const Surroundings kSurroundings[] = {
    {"export_with_absolute_paths", LOGLEZER_EXE, {"{dir}/log.csv", "--export", "{dir}/g.png"}, true, {}, 0, Eq("")},
    {"export_to_a_relative_picture",
     LOGLEZER_EXE,
     {"{dir}/log.csv", "--export", "g.png"},
     true,
     {},
     1,
     Eq(kViewerGone)},
    {"export_of_a_relative_log", LOGLEZER_EXE, {"log.csv", "--export", "{dir}/g.png"}, true, {}, 1, Eq(kViewerGone)},
    {"export_looking_for_log_ini", LOGLEZER_EXE, {"--export", "{dir}/g.png"}, true, {}, 1, Eq(kViewerGone)},
    {"stats_with_an_absolute_log", LOGLEZER_STATS_EXE, {"--log", "{dir}/log.csv"}, true, {}, 0, Eq("")},
    {"stats_of_a_relative_log", LOGLEZER_STATS_EXE, {"--log", "log.csv"}, true, {}, 1, Eq(kStatsGone)},
    {"stats_looking_for_log_ini", LOGLEZER_STATS_EXE, {}, true, {}, 1, Eq(kStatsGone)},
    {"window_without_a_display", LOGLEZER_EXE, {"{dir}/log.csv"}, false, kNoDisplay, 1, Eq(kNoDisplayLine)},
    {"window_with_empty_display_variables",
     LOGLEZER_EXE,
     {"{dir}/log.csv"},
     false,
     kEmptyDisplay,
     1,
     Eq(kNoDisplayLine)},
};

class ProgramRun : public Window {
protected:
    void SetUp() override {
        Window::SetUp();
        std::ofstream(dir_ / "log.csv", std::ios::binary) << log_of(days_from(2005, 3, 1, 40));
    }
};

class RunIn : public ProgramRun, public ::testing::WithParamInterface<Surroundings> {};

TEST_P(RunIn, EndsWithOneLineOrSucceeds) {
    const Surroundings& s = GetParam();
    ChildRun run{{s.program}, dir_, s.dir_removed, s.env, std::nullopt};
    for (const auto& arg : s.args) run.args.push_back(with_dir(arg, dir_));
    run.env.emplace("LC_ALL", "C");
    if (s.dir_removed) {
        run.dir = dir_ / "gone";
        fs::create_directory(run.dir);
    }
    const ChildResult result = run_child(run, dir_);
    EXPECT_EQ(result.status, s.status);
    EXPECT_THAT(result.err, s.err);
}

INSTANTIATE_TEST_SUITE_P(Surroundings, RunIn, ::testing::ValuesIn(kSurroundings),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// Qt's own options reach Qt, also without DISPLAY, -platform naming the
// platform: the window starts and shows the missing-log box, which nobody
// answers here. A refused option or a missing display would end the
// program at once; still running after a second, it is killed.
TEST_F(ProgramRun, QtsOwnOptionsStartTheWindowWithoutADisplay) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QLatin1String(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString(dir_.string()));
    process.start(QStringLiteral(LOGLEZER_EXE),
                  {"-style", "Fusion", "-platform", "offscreen", "-reverse", "missing.csv"});
    ASSERT_TRUE(process.waitForStarted());
    const bool ended = process.waitForFinished(1000);
    process.kill();
    process.waitForFinished();
    EXPECT_FALSE(ended) << process.readAllStandardError().toStdString();
}

// The tool and the export find the log through the user's log.ini as the
// window does, started in a folder without log.ini.
TEST_F(ProgramRun, BothProgramsFindTheLogThroughTheUsersLogIni) {
    fs::create_directories(dir_ / "cfg" / "loglezer");
    fs::create_directories(dir_ / "elsewhere");
    std::ofstream(dir_ / "cfg" / "loglezer" / "log.ini") << "[path]\nlog=" << (dir_ / "log.csv").string() << "\n";
    const std::map<std::string, std::optional<std::string>> env = {{"XDG_CONFIG_HOME", (dir_ / "cfg").string()},
                                                                   {"LC_ALL", "C"}};
    const ChildResult stats = run_child({{LOGLEZER_STATS_EXE, "--csv"}, dir_ / "elsewhere", false, env, {}}, dir_);
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_THAT(stats.out, ::testing::HasSubstr("\n2005,2005,"));
    const ChildResult picture =
        run_child({{LOGLEZER_EXE, "--export", (dir_ / "g.png").string()}, dir_ / "elsewhere", false, env, {}}, dir_);
    EXPECT_EQ(picture.status, 0) << picture.err;
    EXPECT_TRUE(fs::exists(dir_ / "g.png"));
}

// A log larger than the memory the export may take: the sparse file costs
// no disk, the buffer it would be read into is refused.
TEST_F(ProgramRun, AnExportOutOfMemoryEndsWithOneLine) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer cannot run under a limit on the address space";
#else
    fs::resize_file(dir_ / "log.csv", 2ULL << 30);
    const ChildResult result =
        run_child({{LOGLEZER_EXE, "--export", "g.png"}, dir_, false, {{"LC_ALL", "C"}}, rlim_t{1} << 30}, dir_);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "loglezer: out of memory\n");
    EXPECT_FALSE(fs::exists(dir_ / "g.png"));
#endif
}

// The window's start-up with the working directory gone: a log named by
// its full path opens; a relative one can be found nowhere, so a box says
// why and the program ends as without a log.
TEST_F(ProgramRun, TheWindowWithoutAWorkingDirectoryNeedsAFullPath) {
    working_dir_gone_ = true;
    EXPECT_FALSE(open((dir_ / "log.csv").string()).log_missing());
    EXPECT_THAT(messages_, ::testing::IsEmpty());
    EXPECT_TRUE(open("log.csv").log_missing());
    EXPECT_THAT(messages_, ::testing::ElementsAre("the working directory no longer exists."));
    EXPECT_EQ(missing_boxes_, 0);
}

// The viewer and loglezer-stats read their options by one rule and word a
// mistake or a failure alike after their names.
struct OptionCase {
    const char* name;
    std::vector<std::string> viewer_args;
    std::vector<std::string> stats_args;
    const char* message;  // after "PROGRAM: "
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }

class BothPrograms : public ProgramRun, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(BothPrograms, SayTheSameAfterTheirNames) {
    const OptionCase& c = GetParam();
    std::ofstream(dir_ / "bad.csv", std::ios::binary) << "01-Jan-2005,1,2,\r\n02-Jan-2005,12x,2,\r\n";
    for (const auto& [program, args] : {std::pair{std::string(LOGLEZER_EXE), c.viewer_args},
                                        std::pair{std::string(LOGLEZER_STATS_EXE), c.stats_args}}) {
        ChildRun run{{program}, dir_, false, {{"LC_ALL", "C"}}, std::nullopt};
        run.args.insert(run.args.end(), args.begin(), args.end());
        const ChildResult result = run_child(run, dir_);
        const std::string name = fs::path(program).filename().string();
        EXPECT_EQ(result.status, 1) << name;
        EXPECT_EQ(result.err, name + ": " + c.message + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BothPrograms,
    ::testing::Values(
        OptionCase{"AnOptionTwice",
                   {"--export", "g.png", "--year", "2005", "--year=2006"},
                   {"--year", "2005", "--year=2006"},
                   "--year is given more than once"},
        OptionCase{"AnUnknownOption", {"--bogus"}, {"--bogus"}, "unknown option '--bogus' (see --help)"},
        OptionCase{"NoValue", {"--units"}, {"--units"}, "--units needs a value"},
        OptionCase{"AValueToAFlag", {"--help=yes"}, {"--help=yes"}, "--help takes no value"},
        OptionCase{"ABadValue", {"--units", "kilo"}, {"--units", "kilo"}, "--units: 'kilo' is not binary or decimal"},
        OptionCase{"AFailureOfALine",
                   {"bad.csv", "--export", "g.png"},
                   {"--log", "bad.csv"},
                   "bad.csv:2: '12x' is not a valid floating point value"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
