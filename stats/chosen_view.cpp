#include "stats/chosen_view.h"

#include "stats/statistics.h"

namespace loglezer {

ChosenView::ChosenView(const LineList& lines, const Separators& seps, UnitMode units)
    : lines_(lines),
      seps_(seps),
      units_(units),
      start_(run_start_up(lines, shared_, seps, units, download_, upload_)) {}

void ChosenView::choose(const std::optional<std::string>& year_text, std::optional<int> month) {
    if (!year_text) return;
    show_stats(lines_, period_input(start_, *year_text, month, units_), shared_, seps_, download_, upload_);
}

}  // namespace loglezer
