#pragma once

// The window fixture of the widget tests: a window started on a log that the
// test writes into a temporary working directory, its boxes and save dialog
// answered by the test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/window.h"
#include "chart/chart_panel.h"
#include "tools/loggen.h"

namespace test_support {

namespace fs = std::filesystem;
using namespace loglezer;

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

// A window started on a log written by the test, with its boxes and dialog
// answered by the test.
class Window : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder, also for a case of a table ("Test/case").
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir_ = fs::temp_directory_path() / ("loglezer_app_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        cwd_ = fs::current_path();
        std::ofstream(dir_ / "log.ini") << "[path]\nlog=log.csv\n";
    }
    void TearDown() override {
        form_.reset();
        fs::current_path(cwd_);  // a save moves it to the saved file's folder
        fs::remove_all(dir_);
    }

    // Writes the log, then starts the window on it.
    MainWindow& start(const std::string& log) {
        std::ofstream(dir_ / "log.csv", std::ios::binary) << log;
        return open();
    }
    // Starts the window on the log already in the working directory, or on
    // the one named as if on the command line.
    MainWindow& open(std::optional<std::string> log_argument = std::nullopt) {
        WindowSeams seams;
        seams.show_failure = [this](QWidget*, const QString& title, const QString& text) {
            titles_.push_back(title.toStdString());
            messages_.push_back(text.toStdString());
        };
        seams.show_warning = [this](QWidget*, const QString&, const QString& text) {
            warnings_.push_back(text.toStdString());
        };
        seams.show_log_missing = [this](const MissingLogBox& box) {
            ++missing_boxes_;
            missing_details_.push_back(box.detail.toStdString());
            open_offered_.push_back(box.offer_open);
            missing_shown_.push_back(box);
            return missing_answer_;
        };
        seams.open_log_dialog = [this](QWidget*) {
            ++open_dialogs_;
            return open_answer_;
        };
        seams.save_dialog = [this](QWidget*, const QString& suggested_name) {
            suggested_names_.push_back(suggested_name.toStdString());
            return save_answer_;
        };
        seams.allowance_dialog = [this](QWidget*, const AllowanceChoice& current) {
            allowance_shown_ = current;
            return allowance_answer_;
        };
        seams.notify = notify_;
        seams.choose_interface = [this](QWidget*, const std::vector<VnstatInterface>& interfaces) {
            interface_lists_.push_back(interfaces.size());
            return interface_answer_;
        };
        seams.working_dir = working_dir_gone_ ? fs::path() : dir_;
        seams.user_ini = user_ini();
        seams.log_argument = std::move(log_argument);
        seams.separators = separators_;
        seams.today = today_;
        form_ = std::make_unique<MainWindow>(seams);
        return *form_;
    }

    template <class T>
    T* child(const char* name) {
        T* w = form_->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* year() { return child<QComboBox>("cb_year"); }
    QComboBox* month() { return child<QComboBox>("cb_month"); }
    QString caption(const char* name) { return child<QLabel>(name)->text(); }
    ChartModel& chart(const char* name) { return child<ChartPanel>(name)->model(); }
    QRadioButton* option(int i) { return child<QGroupBox>("Radios")->findChildren<QRadioButton*>().at(i); }
    static std::vector<std::string> items(QComboBox* cb) {
        std::vector<std::string> out;
        for (int i = 0; i < cb->count(); ++i) out.push_back(cb->itemText(i).toStdString());
        return out;
    }
    static std::vector<std::string> labels(const ChartModel& m) {
        std::vector<std::string> out;
        for (const auto& p : m.points()) out.push_back(p.label);
        return out;
    }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // The user's log.ini of the window: inside the test's folder, never the
    // real one.
    fs::path user_ini() const { return dir_ / "config" / "loglezer" / "log.ini"; }

    fs::path dir_, cwd_;
    std::unique_ptr<MainWindow> form_;
    std::vector<std::string> titles_, messages_;
    std::vector<std::string> warnings_;  // the text of each warning box
    int missing_boxes_ = 0;
    std::vector<std::string> missing_details_;  // the detail text of each missing-log box
    std::vector<bool> open_offered_;            // whether each missing-log box had "Openen..."
    std::vector<MissingLogBox> missing_shown_;  // each missing-log box as shown
    MissingLogAnswer missing_answer_ = MissingLogAnswer::Close;
    int open_dialogs_ = 0;
    std::optional<QString> open_answer_;  // the file chosen in the open dialog
    std::optional<QString> save_answer_;
    std::vector<std::size_t> interface_lists_;            // how many interfaces each "Interface kiezen" listed
    std::optional<std::string> interface_answer_;         // the interface chosen there
    std::vector<std::string> suggested_names_;            // the name each save dialog offered
    AllowanceAnswer allowance_answer_;                    // the answer to "Bundel instellen"
    std::optional<AllowanceChoice> allowance_shown_;      // what it was filled in with
    std::function<void(const AllowanceNotice&)> notify_;  // the desktop's notices; none sent when empty
    Separators separators_;          // "." and ",": the figures the tests expect do not depend on the machine
    bool working_dir_gone_ = false;  // the window finds no working directory
    Clock today_;                    // none: the log is never judged stale
};

}  // namespace test_support
