#pragma once

// A session on a log the test writes into a temporary working directory,
// whose log.ini names it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "session/session.h"
#include "settings/profile.h"
#include "tools/loggen.h"

namespace loglezer::test {

namespace fs = std::filesystem;

// "dd-Mon-yyyy,1 GB,0.5 GB," for each date.
inline std::string log_of(const std::vector<std::string>& dates,
                          const std::string& amounts = ",1073741824,536870912,") {
    std::string out;
    for (const auto& d : dates) out += d + amounts + "\r\n";
    return out;
}

// Every day from the first date for `days` days, as "dd-Mon-yyyy".
inline std::vector<std::string> days_from(int year, int month, int day, int days) {
    std::vector<std::string> out;
    for (int i = 0; i < days; ++i) out.push_back(tools::date_field(tools::add_days({year, month, day}, i)));
    return out;
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder, also for a case of a table ("Test/case").
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir_ = fs::temp_directory_path() / ("loglezer_session_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        write("log.ini", "[path]\nlog=log.csv\n");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    void append(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary | std::ios::app) << text;
    }
    // Writes the log, then starts a session on it.
    Session& start(const std::string& log) {
        write("log.csv", log);
        return open();
    }
    // Starts a session on the log already there, or on the one named as if
    // on the command line.
    Session& open(std::optional<std::string> named = std::nullopt) {
        session_.emplace(SessionPlaces{{dir_, user_ini()}, std::move(named), given_, separators_, today_});
        outcome_ = session_->start_up();
        return *session_;
    }
    const Screen& screen() const { return session_->screen(); }
    // The texts of what an event tells, in order.
    static std::vector<std::string> told(const Outcome& outcome) {
        std::vector<std::string> texts;
        for (const Notice& notice : outcome.notices) texts.push_back(notice.text);
        return texts;
    }
    // The user's log.ini: inside the test's folder, never the real one.
    fs::path user_ini() const { return dir_ / "config" / "loglezer" / "log.ini"; }
    // The log the user's log.ini names, or nothing without the file.
    std::optional<std::string> remembered() const {
        if (!fs::exists(user_ini())) return std::nullopt;
        return profile_string_from_file(user_ini().string(), "path", "log", "");
    }

    fs::path dir_;
    Separators separators_{'.', ','};
    GivenSettings given_;
    Clock today_;  // none: the log is never judged stale
    std::optional<Session> session_;
    Outcome outcome_;  // of the start-up
};

}  // namespace loglezer::test
