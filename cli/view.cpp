#include "cli/view.h"

#include <algorithm>

#include "cli/numbers.h"
#include "text/dates.h"
#include "text/terminal_text.h"

namespace loglezer::cli {
namespace {

// The label of bar i as the log has it.
const std::string& log_label(const View& view, std::size_t i) {
    const auto& down = view.download.points();
    return i < down.size() ? down[i].label : view.upload.points()[i].label;
}

}  // namespace

std::string title_of(const ChartModel& chart, std::string (*convert)(std::string_view)) {
    std::string text;
    for (const auto& line : chart.titles()) {
        if (!text.empty()) text += '\n';
        text += convert(line);
    }
    return text;
}

std::size_t bar_count(const View& view) { return std::max(view.download.points().size(), view.upload.points().size()); }

std::string bar_label(const View& view, std::size_t i) { return utf8_from_latin1(log_label(view, i)); }

std::optional<std::string> bar_date(const View& view, std::size_t i) {
    const std::string& label = log_label(view, i);
    if (view.name == "jaar") {
        if (label.size() == 4 && all_digits(label)) return label;
    } else if (view.name == "maand") {
        if (const auto month = month_from_argument(label)) return iso_month(view.year, *month);
    } else if (label.size() == 2 && all_digits(label)) {
        return iso_month(view.year, view.month) + "-" + label;
    }
    return std::nullopt;
}

}  // namespace loglezer::cli
