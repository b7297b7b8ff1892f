#include "allowance/allowance_box.h"

#include <cmath>

#include "allowance/allowance_chart.h"
#include "log/month_names.h"
#include "text/dates.h"
#include "text/value_format.h"

namespace loglezer {
namespace {

// An amount in the units of the limit. What is over the limit is told as
// such, so its amount is written unsigned.
std::string amount(long double bytes, UnitMode units, const Separators& seps) {
    return amount_text(std::fabs(bytes), units, seps);
}

// "telt download", "telt upload", "telt download en upload".
std::string what_counts(Counted counts) {
    switch (counts) {
        case Counted::Download:
            return "telt download";
        case Counted::Upload:
            return "telt upload";
        case Counted::Both:
            break;
    }
    return "telt download en upload";
}

// What may still be used, and per day for the days after today; or how far
// the use is over the limit.
std::string left_line(const AllowanceFigures& f, UnitMode units, const Separators& seps) {
    if (f.left < 0) return "Boven de bundel: " + amount(f.left, units, seps);
    std::string line = "Nog over: " + amount(f.left, units, seps);
    if (f.per_day_left) return line + ", " + amount(*f.per_day_left, units, seps) + " per dag";
    return line + ", vandaag is de laatste dag";
}

std::string tooltip(const AllowanceFigures& f, const AllowanceSettings& settings, const Separators& seps) {
    return "Periode: " + dutch_date(f.period.start) + " t/m " + dutch_date(f.period.end) + "\n" + "Dag " +
           std::to_string(f.day) + " van " + std::to_string(f.period.days()) + "\n" +
           "Bundel: " + amount(f.limit, settings.units, seps) + ", " + what_counts(settings.counts) + "\n" +
           left_line(f, settings.units, seps) + "\n" + "Dagen zonder regel: " + std::to_string(f.days_without_line);
}

}  // namespace

std::optional<AllowanceFigures> current_allowance(const LineList& lines, const AllowanceSettings& settings,
                                                  const Separators& seps) {
    if (!settings.limit) return std::nullopt;
    return allowance_figures(lines, settings, log_span(lines).last, seps);
}

AllowanceBoxTexts allowance_box_texts(const AllowanceFigures& figures, const AllowanceSettings& settings,
                                      const Separators& seps, const std::optional<Staleness>& staleness) {
    AllowanceBoxTexts t;
    const LogDate& end = figures.period.end;
    t.caption = "Bundel t/m " + dutch_day(std::to_string(end.day), dutch_month_name(end.month));
    const long long percent = std::llround(figures.percent);
    t.used = amount(figures.used, settings.units, seps) + " (" + std::to_string(percent) + "%)";
    t.estimate = amount(figures.estimate, settings.units, seps);
    t.used_over = figures.used > figures.limit;
    t.estimate_over = figures.estimate > figures.limit;
    t.tooltip = tooltip(figures, settings, seps);
    if (staleness && staleness->stale()) {
        // The figures stop at the last line; the use since is not in them.
        const LogDate& last = staleness->last_line;
        t.stale = true;
        t.caption = "Geen regel sinds " + dutch_day(std::to_string(last.day), dutch_month_name(last.month));
        t.tooltip = "De log heeft geen regel sinds " + dutch_date(last) +
                    ".\nHet meetprogramma schrijft niet meer; het verbruik kan hoger zijn.\n\n" + t.tooltip;
    }
    return t;
}

}  // namespace loglezer
