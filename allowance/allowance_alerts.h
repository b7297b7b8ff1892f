#pragma once

// The desktop's notices about the allowance: which event of the current
// billing period is due to be told, and what it says.
#include <optional>
#include <string>

#include "allowance/allowance.h"
#include "allowance/allowance_figures.h"
#include "log/calendar.h"
#include "log/separators.h"

namespace loglezer {

// What a notice tells, from the least grave to the gravest.
enum class AllowanceEvent {
    Pace,  // at the pace so far the period ends over the limit
    Warn,  // the use has reached the warning's percentage
    Over,  // the use is over the limit
};

// The warning's percentage when warn= is not set.
inline constexpr long double kDefaultWarnPercent = 90;

// The events told so far in one billing period.
struct ToldEvents {
    std::optional<LogDate> period_start;  // the period they were told in
    unsigned told = 0;                    // one bit per AllowanceEvent
};

// The event to tell now of `figures` (the current period), `warn` being
// warn= of [allowance] (kDefaultWarnPercent when not set) and `today` the
// system's date. Each event is told once per period: those due are noted in
// `told`, and of those not told before only the gravest is returned.
// Nothing for a stale log, whose last line is two days or more before
// today: its pace cannot be trusted, and nothing is noted.
std::optional<AllowanceEvent> event_to_tell(const AllowanceFigures& figures, std::optional<long double> warn,
                                            const LogDate& today, ToldEvents& told);

// A notice: its summary line and its body.
struct AllowanceNotice {
    std::string summary;
    std::string body;
};

// The notice of `event`, its figures written as the "Bundel" box writes
// them: "Bundel: 108.20 GB van 120.00 GB gebruikt (90%), nog 11.80 GB tot
// 19 Juni".
AllowanceNotice allowance_notice(AllowanceEvent event, const AllowanceFigures& figures,
                                 const AllowanceSettings& settings, const Separators& seps);

}  // namespace loglezer
