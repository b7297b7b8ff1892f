#include "frontend/command_options.h"

#include "log/failure.h"

namespace loglezer {
namespace {

const KnownOption* option_named(const std::vector<KnownOption>& known, std::string_view name) {
    for (const KnownOption& option : known) {
        if (option.name == name || (!option.short_name.empty() && option.short_name == name)) return &option;
    }
    return nullptr;
}

// Reads the option at args[i], and its value, which may move i on.
void read_option(const std::vector<std::string>& args, std::size_t& i, const std::vector<KnownOption>& known,
                 ParsedOptions& parsed) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string_view name = std::string_view(arg).substr(0, equals);
    const KnownOption* option = option_named(known, name);
    if (!option) throw UsageError("unknown option " + quoted(arg, kWholeText) + " (see --help)");
    const std::string shown(option->name);
    if (parsed.has(option->name)) throw UsageError(shown + " is given more than once");
    if (!option->takes_value) {
        if (equals != std::string::npos) throw UsageError(shown + " takes no value");
        parsed.add_option({option->name, {}});
    } else if (equals != std::string::npos) {
        parsed.add_option({option->name, arg.substr(equals + 1)});
    } else {
        if (i + 1 >= args.size()) throw UsageError(shown + " needs a value");
        parsed.add_option({option->name, args[++i]});
    }
}

}  // namespace

const ParsedOptions::Given* ParsedOptions::find(std::string_view name) const {
    for (const Given& given : options_) {
        if (given.name == name) return &given;
    }
    return nullptr;
}

std::optional<std::string> ParsedOptions::value(std::string_view name) const {
    const Given* given = find(name);
    if (!given) return std::nullopt;
    return given->value;
}

ParsedOptions parse_options(const std::vector<std::string>& args, const std::vector<KnownOption>& known) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            for (++i; i < args.size(); ++i) parsed.add_argument(args[i]);
            break;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            read_option(args, i, known, parsed);
        } else {
            parsed.add_argument(arg);
        }
    }
    return parsed;
}

UsageError unexpected_argument(const std::string& argument) {
    return UsageError("unexpected argument " + quoted(argument, kWholeText) + " (see --help)");
}

}  // namespace loglezer
