#include "app/qt_options.h"

#include <cstring>

#include "frontend/usage_error.h"

namespace loglezer {
namespace {

struct QtOption {
    const char* name;  // without its dash
    bool takes_value;
    bool joined_value;  // also written "-name=value"
};

// What Qt 6 reads in QGuiApplication and QApplication, and its X11 platform.
constexpr QtOption kQtOptions[] = {
    {"platform", true, false},
    {"platformpluginpath", true, false},
    {"platformtheme", true, false},
    {"plugin", true, false},
    {"qwindowgeometry", true, false},
    {"qwindowicon", true, false},
    {"qwindowtitle", true, false},
    {"geometry", true, false},
    {"icon", true, false},
    {"title", true, false},
    {"display", true, false},
    {"name", true, false},
    {"visual", true, false},
    {"session", true, false},
    {"style", true, true},
    {"stylesheet", true, true},
    {"qmljsdebugger", true, true},
    {"reverse", false, false},
    {"widgetcount", false, false},
    {"nograb", false, false},
    {"dograb", false, false},
    {"sync", false, false},
    {"testability", false, false},
};

// The Qt option `arg` starts, with whether its value follows "=" in it.
const QtOption* qt_option(const std::string& arg, bool& joined) {
    if (arg.size() < 2 || arg[0] != '-') return nullptr;
    const std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
    for (const QtOption& option : kQtOptions) {
        const std::size_t length = std::strlen(option.name);
        if (name.compare(0, length, option.name) != 0) continue;
        joined = name.size() > length && name[length] == '=' && option.joined_value;
        if (name.size() == length || joined) return &option;
    }
    return nullptr;
}

}  // namespace

WithoutQtOptions take_qt_options(const std::vector<std::string>& args) {
    WithoutQtOptions out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool joined = false;
        const QtOption* option = i == 0 ? nullptr : qt_option(args[i], joined);
        if (!option) {
            out.rest.push_back(args[i]);
            continue;
        }
        if (!option->takes_value || joined) continue;
        if (i + 1 == args.size()) throw UsageError(args[i] + " needs a value");
        const std::string& value = args[++i];
        const bool names_place =
            std::strcmp(option->name, "platform") == 0 || std::strcmp(option->name, "display") == 0;
        if (names_place && !value.empty()) out.display_named = true;
    }
    return out;
}

}  // namespace loglezer
