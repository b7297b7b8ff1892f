#include "cli/arguments.h"

#include <string_view>

#include "cli/numbers.h"
#include "log/failure.h"
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

void check_combination(const Options& options, const FormFlags& form) {
    if (form.csv && form.json) throw UsageError("--csv and --json exclude each other");
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
