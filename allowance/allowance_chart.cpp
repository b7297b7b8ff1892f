#include "allowance/allowance_chart.h"

#include "text/number_format.h"
#include "text/value_format.h"

namespace loglezer {
namespace {

constexpr Rgb kUnderColour{0x00, 0x00, 0xFF};
constexpr Rgb kOverColour{0xC0, 0x00, 0x00};
constexpr Rgb kEstimateColour{0x40, 0x40, 0x40};

}  // namespace

ChartModel allowance_chart(const AllowanceFigures& figures, UnitMode units, const Separators& seps) {
    // One unit for the whole picture, the limit's.
    const AmountUnit unit = amount_unit(figures.limit, units);
    const auto in_unit = [&](long double bytes) { return round2(bytes / unit.bytes); };
    const std::string value_format = std::string("#,##0.00 ") + unit.name;
    ChartModel chart("Bundel " + dutch_date(figures.period.start) + " t/m " + dutch_date(figures.period.end));
    chart.set_3d(false);
    chart.set_legend(false);
    chart.set_value_format(value_format);
    // Today's total only: the days' totals lie too close to be written apart.
    chart.set_marks(Marks::Last);
    // The limit's line runs through the bars once the use passes it.
    chart.set_labels_clear_of_bars(true);
    LogDate date = figures.period.start;
    for (const long double total : figures.running_totals) {
        chart.add_point(in_unit(total), std::to_string(date.day), total,
                        total > figures.limit ? kOverColour : kUnderColour);
        date = next_day(date);
    }
    const auto days = static_cast<double>(figures.period.days());
    chart.set_slot_count(static_cast<std::size_t>(figures.period.days()));
    const double limit = in_unit(figures.limit);
    // The limit's label on the left, out of the way of the estimate's,
    // which ends on the right.
    chart.add_line({0.0, limit, days, limit, kOverColour, false, "Bundel " + format_value(limit, value_format, seps),
                    ChartLine::LabelAt::From});
    // On the period's last day the estimate is the use: no line to draw.
    if (figures.days_left == 0) return chart;
    const double estimate = in_unit(figures.estimate);
    chart.add_line({figures.day - 0.5, in_unit(figures.used), days - 0.5, estimate, kEstimateColour, true,
                    "Verwacht " + format_value(estimate, value_format, seps), ChartLine::LabelAt::To});
    return chart;
}

}  // namespace loglezer
