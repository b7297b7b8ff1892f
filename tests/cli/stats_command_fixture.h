#pragma once

// Runs the loglezer-stats executable in a temporary working directory of
// the test's own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace loglezer::test {

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Result {
    int status;
    std::string out, err;
};

class StatsCommand : public ::testing::Test {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // One folder, removed whole: a table's suite name holds a "/".
        std::string suite = info->test_suite_name();
        std::replace(suite.begin(), suite.end(), '/', '_');
        dir = std::filesystem::temp_directory_path() / ("loglezer_stats_" + suite + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void write_log(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(dir / name, std::ios::binary);
        for (const auto& line : lines) out << line << "\r\n";
    }
    void write_ini(const std::string& log) { std::ofstream(dir / "log.ini") << "[path]\nlog=" << log << "\n"; }

    void write_content(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    }

    // A JSON document with the source member of the log `log` in the
    // test's folder taken out, so that the rest can be compared; any other
    // text as it is.
    std::string without_log_source(const std::string& out, const std::string& log) const {
        const std::string member =
            "  \"source\": {\n    \"kind\": \"log\",\n    \"path\": \"" + (dir / log).string() + "\"\n  },\n";
        const std::size_t at = out.find(member);
        return at == std::string::npos ? out : out.substr(0, at) + out.substr(at + member.size());
    }

    // `out` is the shell's redirection of standard output, `env` the
    // environment's locale settings.
    Result run(const std::string& args, const std::string& out = ">out.txt", const std::string& env = "LC_ALL=C") {
        const std::string command =
            "cd '" + dir.string() + "' && " + env + " '" LOGLEZER_STATS_EXE "' " + args + " " + out + " 2>err.txt";
        const int raw = std::system(command.c_str());
        Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(dir / "out.txt"), read_file(dir / "err.txt")};
        return r;
    }
};

}  // namespace loglezer::test
