// Which allowance event the desktop is told of, and in which words.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "allowance/allowance_alerts.h"
#include "allowance/billing_period.h"

namespace {

using namespace loglezer;

constexpr LogDate kLastLine{2026, 6, 10};

// The figures of a 100-byte limit on the last line's day, in the period
// starting on `start_day`.
AllowanceFigures figures(long double used, long double estimate, int start_day = 1) {
    AllowanceFigures f;
    f.today = kLastLine;
    f.period = billing_period(kLastLine, start_day);
    f.limit = 100;
    f.used = used;
    f.percent = used;
    f.left = 100 - used;
    f.estimate = estimate;
    return f;
}

// One look at the allowance: its figures, and the days from the last line
// to today.
struct Look {
    long double used;
    long double estimate;
    int start_day;
    int stale_days;
};

struct EventCase {
    const char* name;
    std::optional<long double> warn;
    std::vector<Look> looks;
    const char* told;  // the event told at each look, "-" for none
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

const char* event_name(const std::optional<AllowanceEvent>& event) {
    if (!event) return "-";
    switch (*event) {
        case AllowanceEvent::Pace:
            return "Pace";
        case AllowanceEvent::Warn:
            return "Warn";
        case AllowanceEvent::Over:
            break;
    }
    return "Over";
}

class EventsToTell : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventsToTell, EachEventOncePerPeriodTheGravestFirstNoneWhenStale) {
    ToldEvents told;
    std::string events;
    for (const Look& look : GetParam().looks) {
        const LogDate today{kLastLine.year, kLastLine.month, kLastLine.day + look.stale_days};
        events += (events.empty() ? "" : " ") +
                  std::string(event_name(
                      event_to_tell(figures(look.used, look.estimate, look.start_day), GetParam().warn, today, told)));
    }
    EXPECT_EQ(events, GetParam().told);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, EventsToTell,
    ::testing::Values(
        EventCase{"UnderTellsNothing", std::nullopt, {{10, 50, 1, 0}}, "-"},
        EventCase{"PaceThenWarnThenOverEachOnce",
                  std::nullopt,
                  {{50, 110, 1, 0}, {50, 110, 1, 0}, {90, 120, 1, 0}, {101, 130, 1, 0}, {105, 140, 1, 0}},
                  "Pace - Warn Over -"},
        EventCase{"SeveralDueAtOnceTellOnlyTheGravest", std::nullopt, {{101, 130, 1, 0}, {101, 130, 1, 0}}, "Over -"},
        EventCase{"WarnIs90WhenNotSet", std::nullopt, {{89, 95, 1, 0}, {90, 95, 1, 0}}, "- Warn"},
        EventCase{"WarnAsSet", 50, {{50, 90, 1, 0}}, "Warn"},
        EventCase{"ANewPeriodTellsAgain", std::nullopt, {{95, 99, 1, 0}, {95, 99, 20, 0}}, "Warn Warn"},
        EventCase{"AStaleLogTellsNothingAndKeepsItForLater",
                  std::nullopt,
                  {{95, 99, 1, 2}, {95, 99, 1, 20}, {95, 99, 1, 1}},
                  "- - Warn"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(AllowanceNotice, SaysTheFiguresAsTheBoxWritesThem) {
    AllowanceSettings settings;
    settings.units = UnitMode::Decimal;
    AllowanceFigures f = figures(0, 0, 20);
    f.limit = 120e9L;
    f.used = 108.2e9L;
    f.left = f.limit - f.used;
    f.percent = 90.17L;
    const AllowanceNotice warn = allowance_notice(AllowanceEvent::Warn, f, settings, Separators{});
    EXPECT_EQ(warn.summary, "90% van de bundel gebruikt");
    EXPECT_EQ(warn.body, "Bundel: 108.20 GB van 120.00 GB gebruikt (90%), nog 11.80 GB tot 19 Juni");
    f.used = 130e9L;
    f.left = f.limit - f.used;
    f.percent = 108.33L;
    EXPECT_EQ(
        allowance_notice(AllowanceEvent::Over, f, settings, Separators{}).body,
        "Bundel: 130.00 GB van 120.00 GB gebruikt (108%), 10.00 GB boven de bundel, de periode loopt tot 19 Juni");
}

}  // namespace
