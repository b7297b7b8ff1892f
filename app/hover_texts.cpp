#include "app/hover_texts.h"

#include "chart/latin1.h"
#include "stats/statistics.h"

namespace loglezer {
namespace {

// A title such as "Download per maand 2023" without its first three words.
std::string title_after_three_words(const ChartModel& model) {
    if (model.titles().empty()) return {};
    const std::string& title = model.titles().front();
    std::size_t at = 0;
    for (int word = 0; word < 3 && at != std::string::npos; ++word) {
        at = title.find(' ', at);
        if (at != std::string::npos) ++at;
    }
    return at == std::string::npos ? std::string() : title.substr(at);
}

}  // namespace

QString bar_name(PeriodOption option, const ChartModel& model, std::size_t index) {
    const std::string& label = model.points().at(index).label;
    const std::string period = option == PeriodOption::PerYear ? std::string() : title_after_three_words(model);
    return from_log_text(period.empty() ? label : label + ' ' + period);
}

}  // namespace loglezer
