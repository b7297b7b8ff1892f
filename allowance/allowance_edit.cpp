#include "allowance/allowance_edit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "log/failure.h"
#include "settings/profile.h"

namespace loglezer {
namespace {

constexpr const char* kSection = "allowance";

long double bytes_of(LimitUnit unit) { return unit_bytes(limit_unit_name(unit)); }

// The amount with two decimals at most, "." as the decimal point and no
// zeros at its end: "120", "1.5". Never three decimals, which the reader
// would find ambiguous.
std::string amount_text(double amount) {
    const long long hundredths = std::llround(amount * 100);
    std::string text = std::to_string(hundredths / 100);
    const long long rest = hundredths % 100;
    if (rest == 0) return text;
    text += "." + std::to_string(rest / 10);
    if (rest % 10 != 0) text += std::to_string(rest % 10);
    return text;
}

}  // namespace

const char* limit_unit_name(LimitUnit unit) {
    switch (unit) {
        case LimitUnit::GB:
            return "GB";
        case LimitUnit::TB:
            return "TB";
        case LimitUnit::GiB:
            return "GiB";
        case LimitUnit::TiB:
            break;
    }
    return "TiB";
}

AllowanceChoice allowance_choice(const AllowanceSettings& settings) {
    AllowanceChoice choice;
    choice.start_day = settings.start_day;
    choice.counts = settings.counts;
    if (settings.warn) choice.warn = static_cast<int>(std::lround(std::max(1.0L, *settings.warn)));
    if (!settings.limit) return choice;
    const bool binary = settings.units == UnitMode::Binary;
    const bool tera = *settings.limit >= bytes_of(binary ? LimitUnit::TiB : LimitUnit::TB);
    choice.unit = binary ? (tera ? LimitUnit::TiB : LimitUnit::GiB) : (tera ? LimitUnit::TB : LimitUnit::GB);
    choice.amount = static_cast<double>(std::round(*settings.limit / bytes_of(choice.unit) * 100) / 100);
    return choice;
}

std::filesystem::path allowance_ini(const AllowanceSettings& settings,
                                    const std::optional<std::filesystem::path>& user_ini) {
    if (settings.from) return *settings.from;
    if (user_ini) return *user_ini;
    throw Failure("There is no log.ini to write the allowance in: neither HOME nor XDG_CONFIG_HOME names a folder");
}

void write_allowance(const std::filesystem::path& ini, const std::optional<AllowanceChoice>& choice) {
    if (!choice) {
        write_profile_strings(ini, kSection, {{"limit", std::nullopt}});
        return;
    }
    write_profile_strings(ini, kSection,
                          {
                              {"limit", amount_text(choice->amount) + " " + limit_unit_name(choice->unit)},
                              {"start_day", std::to_string(choice->start_day)},
                              {"counts", std::string(counts_name(choice->counts))},
                              {"warn", std::to_string(choice->warn)},
                          });
}

}  // namespace loglezer
