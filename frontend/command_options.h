#pragma once

// The one rule by which the viewer and loglezer-stats read their options.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/usage_error.h"

namespace loglezer {

// An option a program takes: "--year", and "-h" for "--help".
struct KnownOption {
    std::string_view name;
    bool takes_value = false;
    std::string_view short_name = {};
};

// The options of a command line, each with its value, and its other
// arguments, both in their order.
class ParsedOptions {
public:
    struct Given {
        std::string_view name;  // as the option table names it
        std::string value;      // empty for an option without one
    };

    bool has(std::string_view name) const { return find(name) != nullptr; }
    // The value of an option that takes one; nothing when it is not given.
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<Given>& options() const { return options_; }
    const std::vector<std::string>& arguments() const { return arguments_; }

    void add_option(Given given) { options_.push_back(std::move(given)); }
    void add_argument(std::string argument) { arguments_.push_back(std::move(argument)); }

private:
    const Given* find(std::string_view name) const;

    std::vector<Given> options_;
    std::vector<std::string> arguments_;
};

// Reads `args` (without the program's name), byte for byte as they were
// given, by the rule both programs follow:
// - "--name VALUE" or "--name=VALUE" for an option that takes a value,
//   "--name" for one that takes none;
// - "--" ends the options: what follows it is arguments; "-" alone is an
//   argument (standard input or output);
// and throws UsageError, to be shown after the program's name, for
// - any other argument that starts with "-": "unknown option '--bogus'
//   (see --help)";
// - an option given twice: "--year is given more than once";
// - "--year needs a value" at the end of the line, "--csv takes no value"
//   for "--csv=x".
ParsedOptions parse_options(const std::vector<std::string>& args, const std::vector<KnownOption>& known);

// "unexpected argument 'x' (see --help)": for an argument the program takes
// no more of.
UsageError unexpected_argument(const std::string& argument);

}  // namespace loglezer
