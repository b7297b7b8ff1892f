#include "allowance/allowance_alerts.h"

#include <cmath>

#include "log/month_names.h"
#include "text/dates.h"
#include "text/value_format.h"

namespace loglezer {
namespace {

unsigned bit(AllowanceEvent event) { return 1u << static_cast<unsigned>(event); }

bool is_due(AllowanceEvent event, const AllowanceFigures& f, long double warn) {
    switch (event) {
        case AllowanceEvent::Pace:
            return f.estimate > f.limit;
        case AllowanceEvent::Warn:
            return has_reached(f, warn);
        case AllowanceEvent::Over:
            break;
    }
    return f.used > f.limit;
}

}  // namespace

std::optional<AllowanceEvent> event_to_tell(const AllowanceFigures& figures, std::optional<long double> warn,
                                            const LogDate& today, ToldEvents& told) {
    if (log_staleness(figures.today, today).stale()) return std::nullopt;
    if (!told.period_start || day_number(*told.period_start) != day_number(figures.period.start)) {
        told = {figures.period.start, 0};
    }
    std::optional<AllowanceEvent> gravest;
    for (const AllowanceEvent event : {AllowanceEvent::Pace, AllowanceEvent::Warn, AllowanceEvent::Over}) {
        if (!is_due(event, figures, warn.value_or(kDefaultWarnPercent))) continue;
        if ((told.told & bit(event)) == 0) gravest = event;
        told.told |= bit(event);
    }
    return gravest;
}

AllowanceNotice allowance_notice(AllowanceEvent event, const AllowanceFigures& f, const AllowanceSettings& settings,
                                 const Separators& seps) {
    const auto amount = [&](long double bytes) { return amount_text(std::fabs(bytes), settings.units, seps); };
    const std::string end = dutch_day(std::to_string(f.period.end.day), dutch_month_name(f.period.end.month));
    std::string body = "Bundel: " + amount(f.used) + " van " + amount(f.limit) + " gebruikt (" +
                       std::to_string(std::llround(f.percent)) + "%), ";
    body += f.left < 0 ? amount(f.left) + " boven de bundel, de periode loopt tot " + end
                       : "nog " + amount(f.left) + " tot " + end;
    switch (event) {
        case AllowanceEvent::Pace:
            return {"Verwacht verbruik boven de bundel: " + amount(f.estimate), body};
        case AllowanceEvent::Warn: {
            const long double warn = settings.warn.value_or(kDefaultWarnPercent);
            return {format_value(static_cast<double>(warn), "0.##", seps) + "% van de bundel gebruikt", body};
        }
        case AllowanceEvent::Over:
            break;
    }
    return {"Bundel overschreden", body};
}

}  // namespace loglezer
