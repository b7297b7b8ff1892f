#include "frontend/command_options.h"

#include "log/failure.h"

namespace loglezer {
namespace {

const OptionSpec* spec_named(const std::vector<OptionSpec>& specs, std::string_view name) {
    for (const OptionSpec& spec : specs) {
        if (spec.name == name || (!spec.short_name.empty() && spec.short_name == name)) return &spec;
    }
    return nullptr;
}

// Reads the option at args[i], and its value, which may move i on.
void read_option(const std::vector<std::string>& args, std::size_t& i, const std::vector<OptionSpec>& specs,
                 ParsedOptions& parsed) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string_view name = std::string_view(arg).substr(0, equals);
    const OptionSpec* spec = spec_named(specs, name);
    if (!spec) throw UsageError("unknown option " + quoted(arg, kWholeText) + " (see --help)");
    const std::string shown(spec->name);
    if (parsed.has(spec->name)) throw UsageError(shown + " is given more than once");
    if (!spec->takes_value) {
        if (equals != std::string::npos) throw UsageError(shown + " takes no value");
        parsed.add_option({spec->name, {}});
    } else if (equals != std::string::npos) {
        parsed.add_option({spec->name, arg.substr(equals + 1)});
    } else {
        if (i + 1 >= args.size()) throw UsageError(shown + " needs a value");
        parsed.add_option({spec->name, args[++i]});
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

ParsedOptions parse_options(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            for (++i; i < args.size(); ++i) parsed.add_argument(args[i]);
            break;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            read_option(args, i, specs, parsed);
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
