#include "cli/arguments.h"

#include <string_view>

#include "allowance/billing_period.h"
#include "cli/numbers.h"
#include "frontend/command_options.h"
#include "log/failure.h"
#include "log/number_text.h"
#include "settings/settings_files.h"
#include "text/dates.h"

namespace loglezer::cli {
namespace {

const std::vector<KnownOption>& known_options() {
    static const std::vector<KnownOption> kKnownOptions = {
        {"--help", false, "-h"},
        {"--version"},
        {"--csv"},
        {"--json"},
        {"--check"},
        {"--allowance"},
        {"--periods"},
        {"--limit", true},
        {"--start-day", true},
        {"--counts", true},
        {"--today", true},
        {"--warn", true},
        {"--top", true},
        {"--year", true},
        {"--month", true},
        {"--log", true},
        {"--units", true},
        {"--vnstat"},
        {"--interface", true},
    };
    return kKnownOptions;
}

long long top_count(const std::string& text) {
    if (text.empty() || text.size() > 9 || !all_digits(text) || std::stoll(text) == 0) {
        throw UsageError("--top: " + quoted(text, kWholeText) + " is not a number of days (1 to 999999999)");
    }
    return std::stoll(text);
}

int month_number(const std::string& text) {
    if (const auto month = month_from_argument(text)) return *month;
    throw UsageError("--month: " + quoted(text, kWholeText) + " is not a month (1-12 or a month name)");
}

// A setting's value read by the rule log.ini's key is read by; a bad one is
// a usage error with the same words ("--limit: '5OO GB' is not an amount").
template <class Read>
auto setting_value(Read&& read) {
    try {
        return read();
    } catch (const Failure& failure) {
        throw UsageError(failure.what());
    }
}

// "2026-12-08": four digits, two, two, and a day the calendar has.
LogDate reference_day(const std::string& text) {
    const auto number = [&](std::size_t at, std::size_t size) {
        const std::string digits = text.substr(at, size);
        return all_digits(digits) ? parse_int(digits).value_or(0) : 0;
    };
    const bool form = text.size() == 10 && text[4] == '-' && text[7] == '-';
    const LogDate day{form ? number(0, 4) : 0, form ? number(5, 2) : 0, form ? number(8, 2) : 0};
    if (day.year < 1 || day.month < 1 || day.month > 12 || day.day < 1 ||
        day.day > days_in_month(day.year, day.month)) {
        throw UsageError("--today: " + quoted(text, kWholeText) + " is not a day written YYYY-MM-DD");
    }
    return day;
}

long double warn_percent(const std::string& text) {
    const std::optional<long double> percent = decimal_number(text);
    if (!percent || *percent <= 0 || *percent > 100) {
        throw UsageError("--warn: " + quoted(text, kWholeText) + " is not a percentage above 0, up to 100");
    }
    return *percent;
}

// Calls read(value) when the option is given.
template <class Read>
void when_given(const ParsedOptions& parsed, std::string_view name, Read&& read) {
    if (const std::optional<std::string> value = parsed.value(name)) read(*value);
}

AllowanceOptions allowance_options(const ParsedOptions& parsed) {
    AllowanceOptions options;
    GivenAllowance& given = options.given;
    when_given(parsed, "--limit",
               [&](const std::string& v) { given.limit = setting_value([&] { return parse_limit(v, "--limit"); }); });
    when_given(parsed, "--start-day", [&](const std::string& v) {
        given.start_day = setting_value([&] { return parse_start_day(v, "--start-day"); });
    });
    when_given(parsed, "--counts", [&](const std::string& v) {
        given.counts = setting_value([&] { return parse_counts(v, "--counts"); });
    });
    when_given(parsed, "--today", [&](const std::string& v) { options.today = reference_day(v); });
    when_given(parsed, "--warn", [&](const std::string& v) { options.warn = warn_percent(v); });
    return options;
}

Options read_options(const ParsedOptions& parsed) {
    Options options;
    options.help = parsed.has("--help");
    options.version = parsed.has("--version");
    options.check = parsed.has("--check");
    options.allowance = parsed.has("--allowance");
    options.periods = parsed.has("--periods");
    options.allowance_options = allowance_options(parsed);
    when_given(parsed, "--top", [&](const std::string& v) { options.top = top_count(v); });
    options.year = parsed.value("--year");
    when_given(parsed, "--month", [&](const std::string& v) { options.month = month_number(v); });
    options.log = parsed.value("--log");
    options.vnstat = parsed.has("--vnstat");
    if (options.vnstat && options.log) throw UsageError("--vnstat and --log exclude each other");
    options.interface = parsed.value("--interface");
    when_given(parsed, "--units",
               [&](const std::string& v) { options.units = setting_value([&] { return parse_units(v, "--units"); }); });
    return options;
}

// The options that only choose the output form, before their combination
// is checked.
struct FormFlags {
    bool csv = false;
    bool json = false;
};

// --allowance and --periods, and the options only they take.
void check_allowance_combination(const Options& options, const FormFlags& form) {
    const AllowanceOptions& a = options.allowance_options;
    if (options.allowance && options.periods) throw UsageError("--allowance and --periods exclude each other");
    if (options.allowance && (options.check || options.top || options.year || form.csv)) {
        throw UsageError("--allowance takes no --check, --top, --year or --csv");
    }
    if (options.periods && (options.check || options.top || options.month)) {
        throw UsageError("--periods takes no --check, --top or --month");
    }
    if (!options.allowance && !options.periods && (a.given.limit || a.given.start_day || a.given.counts || a.today)) {
        throw UsageError("--limit, --start-day, --counts and --today need --allowance or --periods");
    }
    if (a.warn && !options.allowance) throw UsageError("--warn needs --allowance");
}

void check_combination(const Options& options, const FormFlags& form) {
    if (form.csv && form.json) throw UsageError("--csv and --json exclude each other");
    check_allowance_combination(options, form);
    if (options.month && !options.year) throw UsageError("--month needs --year");
    if (options.check && (options.year || options.top || form.csv)) {
        throw UsageError("--check takes no --year, --month, --top or --csv");
    }
    if (options.top && options.month) throw UsageError("--top takes no --month");
}

}  // namespace

Options parse_arguments(const std::vector<std::string>& args) {
    const ParsedOptions parsed = parse_options(args, known_options());
    // The command takes no argument that is not an option.
    if (!parsed.arguments().empty()) throw unexpected_argument(parsed.arguments().front());
    Options options = read_options(parsed);
    if (options.help || options.version) return options;
    const FormFlags form{parsed.has("--csv"), parsed.has("--json")};
    check_combination(options, form);
    options.format = form.csv ? Format::Csv : form.json ? Format::Json : Format::Table;
    return options;
}

}  // namespace loglezer::cli
