#pragma once

// A view of loglezer-stats: what the charts and labels show, which the
// table, CSV and JSON renderers write.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "stats/chart_model.h"
#include "stats/statistics.h"

namespace loglezer::cli {

// The exact figures of the per-year view, for scripts: the totals and the
// records in bytes, and the days of the records as ISO dates (nothing when
// that line's date is no day of the calendar).
struct ExactFigures {
    long double total_download = 0, total_upload = 0;
    long double record_download = 0, record_upload = 0;
    std::optional<std::string> record_download_date, record_upload_date;
};

// What the charts and labels show after a run.
struct View {
    std::string name;  // "jaar", "maand" or "dag"
    const ChartModel& download;
    const ChartModel& upload;
    std::optional<LabelCaptions> captions;             // the per-year view's totals and records
    std::optional<ExactFigures> exact = std::nullopt;  // with the captions
    int year = 0;                                      // of the per-month and per-day views
    int month = 0;                                     // of the per-day view
};

// A chart's title lines as one text, each line converted from log bytes by
// `convert`.
std::string title_of(const ChartModel& chart, std::string (*convert)(std::string_view));

// The bars of a view: both charts hold one point per bar, under one label.
std::size_t bar_count(const View& view);
// The label of bar i as UTF-8.
std::string bar_label(const View& view, std::size_t i);
// The ISO date of bar i: the year of a per-year bar, the month of a
// per-month bar and the day of a per-day bar, read from its label; nothing
// when the label names none.
std::optional<std::string> bar_date(const View& view, std::size_t i);

}  // namespace loglezer::cli
