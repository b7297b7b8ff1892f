#include "cli/arguments.h"

#include <string_view>

#include "cli/numbers.h"
#include "log/failure.h"
#include "log/number_text.h"
#include "stats/billing_period.h"
#include "stats/calendar.h"

namespace loglezer::cli {
namespace {

std::string take_value(const std::vector<std::string>& args, std::size_t& i, const std::string& name) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        return arg.substr(name.size() + 1);
    }
    if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
    return args[++i];
}

bool is_option(const std::string& arg, const std::string& name) {
    return arg == name || (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0);
}

UsageError unexpected_argument(const std::string& arg) {
    return UsageError("unexpected argument " + quoted(arg, kWholeText) + " (see --help)");
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

// Reads the option at args[i] when it is one of the allowance's settings.
bool read_allowance_option(const std::vector<std::string>& args, std::size_t& i, AllowanceOptions& options) {
    const std::string& arg = args[i];
    if (is_option(arg, "--limit")) {
        const std::string text = take_value(args, i, "--limit");
        options.limit = setting_value([&] { return parse_limit(text, "--limit"); });
    } else if (is_option(arg, "--start-day")) {
        const std::string text = take_value(args, i, "--start-day");
        options.start_day = setting_value([&] { return parse_start_day(text, "--start-day"); });
    } else if (is_option(arg, "--counts")) {
        const std::string text = take_value(args, i, "--counts");
        options.counts = setting_value([&] { return parse_counts(text, "--counts"); });
    } else if (is_option(arg, "--today")) {
        options.today = reference_day(take_value(args, i, "--today"));
    } else if (is_option(arg, "--warn")) {
        options.warn = warn_percent(take_value(args, i, "--warn"));
    } else {
        return false;
    }
    return true;
}

// The options that only choose the output form, before their combination
// is checked.
struct FormFlags {
    bool csv = false;
    bool json = false;
};

// Reads the option at args[i], and its value, which may move i on.
void read_option(const std::vector<std::string>& args, std::size_t& i, Options& options, FormFlags& form) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
        options.help = true;
    } else if (arg == "--version") {
        options.version = true;
    } else if (arg == "--csv") {
        form.csv = true;
    } else if (arg == "--json") {
        form.json = true;
    } else if (arg == "--check") {
        options.check = true;
    } else if (arg == "--allowance") {
        options.allowance = true;
    } else if (arg == "--periods") {
        options.periods = true;
    } else if (read_allowance_option(args, i, options.allowance_options)) {
        return;
    } else if (is_option(arg, "--top")) {
        options.top = top_count(take_value(args, i, "--top"));
    } else if (is_option(arg, "--year")) {
        options.year = take_value(args, i, "--year");
    } else if (is_option(arg, "--month")) {
        options.month = month_number(take_value(args, i, "--month"));
    } else if (is_option(arg, "--log")) {
        options.log = take_value(args, i, "--log");
    } else if (arg.size() > 1 && arg[0] == '-') {
        throw UsageError("unknown option " + quoted(arg, kWholeText) + " (see --help)");
    } else {
        throw unexpected_argument(arg);
    }
}

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
    if (!options.allowance && !options.periods && (a.limit || a.start_day || a.counts || a.today)) {
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
    Options options;
    FormFlags form;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") {
            // No argument after it is an option; the command takes no other.
            if (i + 1 < args.size()) throw unexpected_argument(args[i + 1]);
            break;
        }
        read_option(args, i, options, form);
    }
    if (options.help || options.version) return options;
    check_combination(options, form);
    options.format = form.csv ? Format::Csv : form.json ? Format::Json : Format::Table;
    return options;
}

}  // namespace loglezer::cli
