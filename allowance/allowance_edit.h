#pragma once

// The allowance as the window's dialog sets it, and its writing into the
// section [allowance] of a log.ini.
#include <filesystem>
#include <optional>

#include "allowance/allowance.h"
#include "allowance/allowance_alerts.h"

namespace loglezer {

// The units the dialog offers for a limit.
enum class LimitUnit { GB, TB, GiB, TiB };

// "GB", "TB", "GiB", "TiB".
const char* limit_unit_name(LimitUnit unit);

// What the dialog sets: the limit as an amount (two decimals at most) and
// its unit, the start day, what counts and the warning's percentage.
struct AllowanceChoice {
    double amount = 100;
    LimitUnit unit = LimitUnit::GB;
    int start_day = 1;
    Counted counts = Counted::Both;
    int warn = static_cast<int>(kDefaultWarnPercent);
};

// The dialog's values for the settings read: the limit in the unit it was
// written in (TB or TiB from a terabyte on), or 100 GB when none is set;
// the warning's percentage rounded, 90 when not set.
AllowanceChoice allowance_choice(const AllowanceSettings& settings);

// The log.ini the allowance is written in: the one it came from, else the
// user's. Throws Failure when neither is known.
std::filesystem::path allowance_ini(const AllowanceSettings& settings,
                                    const std::optional<std::filesystem::path>& user_ini);

// Writes `choice` into [allowance] of `ini` (limit, start_day, counts,
// warn), or, for nothing, takes its limit out; every other key and section
// stays, and the file is replaced whole (write_profile_strings).
void write_allowance(const std::filesystem::path& ini, const std::optional<AllowanceChoice>& choice);

}  // namespace loglezer
