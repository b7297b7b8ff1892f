#pragma once

#include <optional>
#include <string>
#include <vector>

#include "log/line_list.h"
#include "log/separators.h"
#include "stats/chart_model.h"
#include "text/number_format.h"

namespace loglezer {

// The period the statistics are made for: the option chosen in the radio
// group, none before one is chosen.
enum class PeriodOption { None, PerYear, PerMonth, PerDay };

// What a run of "Maak stats" is made for: the option, the year list and the
// year and month as the user typed or picked them.
struct StatsInput {
    PeriodOption option = PeriodOption::None;
    std::vector<std::string> year_items;  // the year list
    std::string year_text;                // the year chosen
    std::string month_text;               // the month chosen
    UnitMode units = UnitMode::Binary;    // what the figures' GB (and KB, MB, TB) are
};

// What a yearly run reads besides its bars: the sums of all its years, and
// the largest amount of one line of each column with the index of the line
// it was first read from (-1 when no amount is above 0).
struct YearFigures {
    long double total_download = 0, total_upload = 0;
    long double record_download = 0, record_upload = 0;
    long long record_download_line = -1, record_upload_line = -1;
};

// The captions of the totals and the records, each a figure and its unit.
struct LabelCaptions {
    std::string record_down, record_up, total_down, total_up;
};

// The units the totals and the records were last written in, " KB" ..
// " TB": empty until first scaled, and kept when a figure needs no division.
struct CaptionUnits {
    std::string totals;
    std::string records;
};

// The captions of `figures`: the totals and the records, each pair scaled
// to one unit (scale_units), rounded to two decimals and written in general
// notation with the decimal separator. `units` is updated.
LabelCaptions year_captions(const YearFigures& figures, CaptionUnits& units, const Separators& seps,
                            UnitMode unit_mode);

// The value formats the options set; the yearly one is the charts' own.
inline constexpr const char* kYearlyValueFormat = ChartModel::kInitialValueFormat;
inline constexpr const char* kMonthlyValueFormat = "#.###,## GB";
inline constexpr const char* kDailyValueFormat = "0.###,## GB";

// The year selector's list: for each line from the first one, its year text
// (the date field without its first 7 characters), appended when it differs
// from the text appended last (at first: from the empty text). A log whose
// years run 2005, 2006, 2005 gives those three items.
std::vector<std::string> year_list(const LineList& lines);

// The "Maak stats" command: removes all points of both charts, then runs the
// chosen option (nothing more for none):
// - per year: one bar per group of consecutive lines of one year; returns
//   the sums of the years and the records;
// - per month: one bar per month of the year in `year_text`;
// - per day: one bar per line of the month in `month_text` of that year.
// `month_name` is the current month name, which the monthly and daily
// options read and write: a month the translation does not know keeps the
// name it had. Amounts are converted with the given separators. A failure
// throws loglezer::Failure with the message the user sees; the points,
// chart settings and month name written before it stay.
std::optional<YearFigures> show_stats(const LineList& lines, const StatsInput& input, std::string& month_name,
                                      const Separators& seps, ChartModel& download, ChartModel& upload);

}  // namespace loglezer
