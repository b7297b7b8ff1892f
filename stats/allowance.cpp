#include "stats/allowance.h"

#include <cmath>
#include <utility>

#include "log/failure.h"
#include "log/number_text.h"
#include "log/profile.h"
#include "stats/billing_period.h"

namespace loglezer {
namespace {

constexpr const char* kSection = "allowance";
// 2^63 bytes: a limit below it is a whole number that scripts read exactly.
constexpr long double kLimitBound = 9223372036854775808.0L;
constexpr long double kTebibyte = 1099511627776.0L;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

[[noreturn]] void fail_setting(std::string_view setting, std::string_view text, const std::string& reason) {
    throw Failure(std::string(setting) + ": " + quoted(text, kWholeText) + " " + reason);
}

// The bytes of a unit's text: "" is GB; nothing for no unit.
std::optional<long double> unit_bytes(std::string_view unit) {
    if (unit.empty()) return 1073741824.0L;
    static constexpr std::pair<const char*, long double> kUnits[] = {
        {"kb", 1024.0L},  {"mb", 1048576.0L},  {"gb", 1073741824.0L},  {"tb", kTebibyte},
        {"kib", 1024.0L}, {"mib", 1048576.0L}, {"gib", 1073741824.0L}, {"tib", kTebibyte}};
    for (const auto& [name, bytes] : kUnits) {
        if (same_letters(unit, name)) return bytes;
    }
    return std::nullopt;
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
};
std::optional<Decimal> take_decimal(std::string_view& text) {
    Decimal number;
    std::size_t i = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) number.digits = number.digits * 10 + (text[i] - '0');
    if (i == 0) return std::nullopt;
    if (i + 1 < text.size() && (text[i] == '.' || text[i] == ',') && is_digit(text[i + 1])) {
        for (int decimals = 0; ++i < text.size() && is_digit(text[i]); ++decimals) {
            if (decimals >= kDecimalsRead) continue;
            number.digits = number.digits * 10 + (text[i] - '0');
            number.divisor *= 10;
        }
    }
    text.remove_prefix(i);
    return number;
}

}  // namespace

long double parse_limit(std::string_view text, std::string_view setting) {
    std::string_view rest = trimmed(text);
    const std::optional<Decimal> number = take_decimal(rest);
    const std::optional<long double> unit = unit_bytes(trimmed(rest));
    if (!number || !unit) fail_setting(setting, text, "is not an amount");
    const long double bytes = std::round(number->digits * *unit / number->divisor);
    if (bytes <= 0) fail_setting(setting, text, "is not more than 0 bytes");
    if (bytes >= kLimitBound) fail_setting(setting, text, "is not below 8388608 TB");
    return bytes;
}

std::optional<long double> decimal_number(std::string_view text) {
    std::string_view rest = trimmed(text);
    const std::optional<Decimal> number = take_decimal(rest);
    if (!number || !rest.empty()) return std::nullopt;
    return number->digits / number->divisor;
}

int parse_start_day(std::string_view text, std::string_view setting) {
    const std::optional<int> day = parse_int(trimmed(text));
    if (!day || *day < kFirstStartDay || *day > kLastStartDay) fail_setting(setting, text, "is not a day from 1 to 31");
    return *day;
}

Counted parse_counts(std::string_view text, std::string_view setting) {
    for (const Counted counts : {Counted::Download, Counted::Upload, Counted::Both}) {
        if (same_letters(trimmed(text), counts_name(counts))) return counts;
    }
    fail_setting(setting, text, "is not download, upload or both");
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

AllowanceTexts find_allowance_texts(const std::optional<std::filesystem::path>& found_through,
                                    const LogPlaces& places) {
    std::optional<std::filesystem::path> file;
    if (found_through && file_has_profile_section(found_through->string(), kSection)) {
        file = found_through;
    } else if (places.user_ini && file_has_profile_section(places.user_ini->string(), kSection)) {
        file = places.user_ini;
    }
    if (!file) return {};
    // The working directory's log.ini as the user calls it; any other by where it is.
    const bool local = !places.working_dir.empty() && *file == places.working_dir / "log.ini";
    AllowanceTexts texts{local ? std::string("log.ini") : file->lexically_normal().string(), {}, {}, {}};
    const auto value = [&](const char* key) -> std::optional<std::string> {
        std::string text = profile_string_from_file(file->string(), kSection, key, "");
        return text.empty() ? std::nullopt : std::optional(std::move(text));
    };
    texts.limit = value("limit");
    texts.start_day = value("start_day");
    texts.counts = value("counts");
    return texts;
}

AllowanceSettings allowance_settings(const AllowanceTexts& texts) {
    const auto setting = [&](const char* key) { return texts.file_name + ": [allowance] " + key; };
    AllowanceSettings settings;
    if (texts.limit) settings.limit = parse_limit(*texts.limit, setting("limit"));
    if (texts.start_day) settings.start_day = parse_start_day(*texts.start_day, setting("start_day"));
    if (texts.counts) settings.counts = parse_counts(*texts.counts, setting("counts"));
    return settings;
}

AllowanceSettings read_allowance_settings(const std::optional<std::filesystem::path>& found_through,
                                          const LogPlaces& places) {
    return allowance_settings(find_allowance_texts(found_through, places));
}

}  // namespace loglezer
