#include "app/allowance_box.h"

#include <cmath>

#include "log/month_names.h"
#include "stats/allowance_chart.h"
#include "stats/value_format.h"

namespace loglezer {
namespace {

// What is over the limit is told as such, so its amount is written unsigned.
std::string gigabytes(long double bytes, const Separators& seps) { return gigabytes_text(std::fabs(bytes), seps); }

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
std::string left_line(const AllowanceFigures& f, const Separators& seps) {
    if (f.left < 0) return "Boven de bundel: " + gigabytes(f.left, seps);
    std::string line = "Nog over: " + gigabytes(f.left, seps);
    if (f.per_day_left) return line + ", " + gigabytes(*f.per_day_left, seps) + " per dag";
    return line + ", vandaag is de laatste dag";
}

std::string tooltip(const AllowanceFigures& f, Counted counts, const Separators& seps) {
    return "Periode: " + dutch_date(f.period.start) + " t/m " + dutch_date(f.period.end) + "\n" + "Dag " +
           std::to_string(f.day) + " van " + std::to_string(f.period.days()) + "\n" +
           "Bundel: " + gigabytes(f.limit, seps) + ", " + what_counts(counts) + "\n" + left_line(f, seps) + "\n" +
           "Dagen zonder regel: " + std::to_string(f.days_without_line);
}

}  // namespace

std::optional<AllowanceFigures> current_allowance(const LineList& lines, const AllowanceSettings& settings,
                                                  const Separators& seps) {
    if (!settings.limit) return std::nullopt;
    return allowance_figures(lines, settings, log_span(lines).last, seps);
}

AllowanceBoxTexts allowance_box_texts(const AllowanceFigures& figures, Counted counts, const Separators& seps) {
    AllowanceBoxTexts t;
    const LogDate& end = figures.period.end;
    t.caption = "Bundel t/m " + std::to_string(end.day) + " " + std::string(dutch_month_name(end.month));
    const long long percent = std::llround(figures.percent);
    t.used = gigabytes(figures.used, seps) + " (" + std::to_string(percent) + "%)";
    t.estimate = gigabytes(figures.estimate, seps);
    t.used_over = figures.used > figures.limit;
    t.estimate_over = figures.estimate > figures.limit;
    t.tooltip = tooltip(figures, counts, seps);
    return t;
}

}  // namespace loglezer
