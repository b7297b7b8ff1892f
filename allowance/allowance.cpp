#include "allowance/allowance.h"

#include <cmath>
#include <utility>

#include "allowance/billing_period.h"
#include "log/failure.h"
#include "log/number_text.h"
#include "log/plain_text.h"

namespace loglezer {
namespace {

constexpr const char* kSection = "allowance";
// 2^63 bytes: a limit below it is a whole number that scripts read exactly.
constexpr long double kLimitBound = 9223372036854775808.0L;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail_setting(std::string_view setting, std::string_view text, const std::string& reason) {
    throw Failure(std::string(setting) + ": " + quoted_setting(text) + " " + reason);
}

// A unit a limit may be written in.
struct Unit {
    const char* name;  // as messages write it
    long double bytes;
    UnitMode units;
};

constexpr Unit kUnits[] = {
    {"B", 1.0L, UnitMode::Decimal},
    {"KB", 1e3L, UnitMode::Decimal},
    {"MB", 1e6L, UnitMode::Decimal},
    {"GB", 1e9L, UnitMode::Decimal},
    {"TB", 1e12L, UnitMode::Decimal},
    {"KiB", 1024.0L, UnitMode::Binary},
    {"MiB", 1048576.0L, UnitMode::Binary},
    {"GiB", 1073741824.0L, UnitMode::Binary},
    {"TiB", 1099511627776.0L, UnitMode::Binary},
};
constexpr std::size_t kGigabyte = 3;  // a bare number's unit

// The unit of a text, in any letter case; "" is GB. Nothing for no unit.
const Unit* unit_named(std::string_view text) {
    if (text.empty()) return &kUnits[kGigabyte];
    for (const Unit& unit : kUnits) {
        if (same_letters(text, unit.name)) return &unit;
    }
    return nullptr;
}

// Digits, optionally "." or "," and more digits, at the front of `text`,
// which they leave; nothing when it does not start with a digit. The
// digits are taken as a whole number and a power of ten to divide it by,
// both exact for the numbers people write. Decimals after the 18th are
// passed over: even in TB they are worth less than a millionth of a byte,
// and thousands of them would make both numbers infinite.
constexpr int kDecimalsRead = 18;
struct Decimal {
    long double digits = 0;
    long double divisor = 1;
    std::string_view whole, fraction;  // the digits before and after the separator
    char separator = '\0';

    // "1,000" or "1.500": three digits after a separator, after one to
    // three before it that do not start with 0, may be one thousand as well
    // as one: the separator may be either a decimal point or a thousands
    // separator.
    bool is_ambiguous() const {
        return fraction.size() == 3 && !whole.empty() && whole.size() <= 3 && whole.front() != '0';
    }
};
std::optional<Decimal> take_decimal(std::string_view& text) {
    Decimal number;
    std::size_t i = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) number.digits = number.digits * 10 + (text[i] - '0');
    if (i == 0) return std::nullopt;
    number.whole = text.substr(0, i);
    if (i + 1 < text.size() && (text[i] == '.' || text[i] == ',') && is_digit(text[i + 1])) {
        number.separator = text[i];
        const std::size_t first = i + 1;
        for (int decimals = 0; ++i < text.size() && is_digit(text[i]); ++decimals) {
            if (decimals >= kDecimalsRead) continue;
            number.digits = number.digits * 10 + (text[i] - '0');
            number.divisor *= 10;
        }
        number.fraction = text.substr(first, i - first);
    }
    text.remove_prefix(i);
    return number;
}

// How an ambiguous amount may be written instead: "1000 GB, 1 TB or 1,5 GB"
// for "1,000 GB". A thousand of a decimal unit below TB is one of the next
// unit; no such step is offered for binary units, which are 1024 apart.
std::string plain_alternatives(const Decimal& number, const Unit& unit) {
    const std::string name = std::string(" ") + unit.name;
    std::string text = std::string(number.whole) + std::string(number.fraction) + name + ", ";
    const Unit* next = &unit + 1;
    if (unit.units == UnitMode::Decimal && next < std::end(kUnits) && next->units == UnitMode::Decimal) {
        std::string_view thousandths = number.fraction;
        while (!thousandths.empty() && thousandths.back() == '0') thousandths.remove_suffix(1);
        text += std::string(number.whole) + (thousandths.empty() ? "" : number.separator + std::string(thousandths)) +
                " " + next->name + ", ";
    }
    text.replace(text.size() - 2, 2, " or ");
    return text + std::string(number.whole) + number.separator + "5" + name;
}

std::string joined_names(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

}  // namespace

Limit parse_limit(std::string_view text, std::string_view setting) {
    std::string_view rest = without_blanks(text);
    const std::optional<Decimal> number = take_decimal(rest);
    const Unit* unit = unit_named(without_blanks(rest));
    if (!number || !unit) fail_setting(setting, text, "is not an amount");
    if (number->is_ambiguous()) {
        fail_setting(setting, text, "is ambiguous: write " + plain_alternatives(*number, *unit));
    }
    const long double bytes = std::round(number->digits * unit->bytes / number->divisor);
    if (bytes <= 0) fail_setting(setting, text, "is not more than 0 bytes");
    if (bytes >= kLimitBound) fail_setting(setting, text, "is not below 8388608 TiB");
    return {bytes, unit->units};
}

std::optional<long double> decimal_number(std::string_view text) {
    std::string_view rest = without_blanks(text);
    const std::optional<Decimal> number = take_decimal(rest);
    if (!number || !rest.empty()) return std::nullopt;
    return number->digits / number->divisor;
}

int parse_start_day(std::string_view text, std::string_view setting) {
    const std::optional<int> day = parse_int(without_blanks(text));
    if (!day || *day < kFirstStartDay || *day > kLastStartDay) fail_setting(setting, text, "is not a day from 1 to 31");
    return *day;
}

Counted parse_counts(std::string_view text, std::string_view setting) {
    for (const Counted counts : {Counted::Download, Counted::Upload, Counted::Both}) {
        if (same_letters(without_blanks(text), counts_name(counts))) return counts;
    }
    fail_setting(setting, text, "is not download, upload or both");
}

long double parse_warn(std::string_view text, std::string_view setting) {
    const std::optional<long double> percent = decimal_number(text);
    if (!percent || *percent <= 0 || *percent > 100)
        fail_setting(setting, text, "is not a percentage above 0, up to 100");
    return *percent;
}

long double unit_bytes(std::string_view unit) {
    const Unit* named = unit.empty() ? nullptr : unit_named(unit);
    return named ? named->bytes : 0;
}

std::string_view counts_name(Counted counts) {
    switch (counts) {
        case Counted::Download:
            return "download";
        case Counted::Upload:
            return "upload";
        case Counted::Both:
            break;
    }
    return "both";
}

AllowanceSettings allowance_settings(const SectionTexts& section, const GivenAllowance& given) {
    AllowanceSettings settings;
    settings.looked_in = section.looked_in();
    if (section.file()) settings.from = section.file()->path;
    const auto read = [&](const char* key, bool replaced, auto parse, auto& into) {
        if (replaced) return;
        if (const std::optional<std::string> text = section.value(key)) into = parse(*text, section.setting(key));
    };
    std::optional<Limit> limit = given.limit;
    read("limit", given.limit.has_value(), parse_limit, limit);
    read("start_day", given.start_day.has_value(), parse_start_day, settings.start_day);
    read("counts", given.counts.has_value(), parse_counts, settings.counts);
    read("warn", false, parse_warn, settings.warn);
    if (limit) {
        settings.limit = limit->bytes;
        settings.units = limit->units;
    }
    settings.start_day = given.start_day.value_or(settings.start_day);
    settings.counts = given.counts.value_or(settings.counts);
    return settings;
}

AllowanceSettings read_allowance_settings(const std::optional<std::filesystem::path>& found_through,
                                          const LogPlaces& places) {
    return allowance_settings(find_section(settings_files(found_through, places), kSection));
}

std::string where_to_set_limit(const AllowanceSettings& settings) {
    if (settings.looked_in.empty()) return "log.ini";
    return "log.ini (looked in " + joined_names(settings.looked_in) + ")";
}

}  // namespace loglezer
