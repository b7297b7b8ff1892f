#pragma once

// What the window shows, as the session has it, and what an event leaves
// the window to do.
#include <optional>
#include <string>
#include <vector>

#include "allowance/allowance_alerts.h"
#include "allowance/allowance_box.h"
#include "log/vnstat_source.h"
#include "stats/chart_model.h"
#include "stats/statistics.h"

namespace loglezer {

// The user's choice: the option of the radio group, and the year and month
// as typed or picked.
struct Choice {
    PeriodOption option = PeriodOption::None;
    std::string year;
    std::string month;

    bool operator==(const Choice& other) const {
        return option == other.option && year == other.year && month == other.month;
    }
};

// Everything the window draws that is not its own.
struct Screen {
    ChartModel download{"Download"};
    ChartModel upload{"Upload"};
    // The option the charts' points were made by, which names them in their
    // tooltips ("Juni" of which year).
    PeriodOption charts_option = PeriodOption::None;
    std::vector<std::string> years;   // the year list
    std::vector<std::string> months;  // the month list
    Choice choice;
    // The captions of the totals and the records; nothing until the program
    // writes one, when the window's own text stands.
    std::optional<std::string> total_download, total_upload, record_download, record_upload;
    // The day each record fell on ("14 Juni 2023"); empty for none.
    std::string record_download_day, record_upload_day;
    // The "Bundel" box; nothing without a limit.
    std::optional<AllowanceBoxTexts> allowance;
};

// A text for a box.
struct Notice {
    enum class Kind { Warning, Failure };
    Kind kind;
    std::string text;
};

// A log that is not there.
struct MissingLog {
    std::string path;  // where it was looked for, in full
    bool may_choose;   // no log was named: another may be chosen in its place
    // Neither the command line nor a log.ini named a log: the default path
    // was looked at, as on a first start.
    bool nothing_named;
    std::vector<std::string> looked_in;  // every place looked at, in full
};

// What an event leaves the window to do: the parts of the screen to draw
// again, the boxes to show in their order, the missing log to tell of.
struct Outcome {
    enum Part : unsigned {
        Charts = 1u << 0,
        Years = 1u << 1,   // the year list, and the year chosen
        Months = 1u << 2,  // the month list, and the month chosen
        Option = 1u << 3,  // the option chosen
        Year = 1u << 4,    // the year chosen alone
        Month = 1u << 5,   // the month chosen alone
        Figures = 1u << 6,
        Allowance = 1u << 7,
        Log = 1u << 8,  // another log, or the log read again: a new start
        Everything = (1u << 9) - 1,
    };
    unsigned changed = 0;
    std::vector<Notice> notices;
    std::optional<MissingLog> missing;
    // A vnStat database with several interfaces and none chosen: the window
    // asks which (Session::use_interface).
    std::vector<VnstatInterface> interface_choices = {};
    // The log was busy (vnStat's daemon writing): read it again a moment later.
    bool busy = false;
    // A notice about the allowance for the desktop; nothing when none is due.
    std::optional<AllowanceNotice> desktop_notice;
    // The log failed on its last line only, which has no line end yet: a
    // line still being written. Its failure is held back; follow again soon.
    bool line_unfinished = false;

    bool has(Part part) const { return (changed & part) != 0; }
    void failed(const std::string& text) { notices.push_back({Notice::Kind::Failure, text}); }
};

}  // namespace loglezer
