#include "session/log_source.h"

#include "log/failure.h"
#include "log/log_file.h"
#include "settings/profile.h"

namespace loglezer {

std::string source_text(const LogSource& source) {
    if (source.kind == LogSource::Kind::Log) return {};
    return "vnStat database " + source.path.lexically_normal().string() + ", interface " + source.interface;
}

LoadedLog load_found_log(const std::filesystem::path& working_dir, const FoundLog& found,
                         const std::optional<std::string>& interface, int busy_milliseconds) {
    LoadedLog loaded;
    loaded.source.path = found.path;
    if (!is_sqlite_file(found.path)) {
        loaded.lines = load_log(working_dir, found.path.string());
        return loaded;
    }
    loaded.source.kind = LogSource::Kind::Vnstat;
    const VnstatDatabase database(found.path, busy_milliseconds);
    const std::optional<std::vector<VnstatInterface>> chosen = database.choose(interface);
    if (!chosen) {
        loaded.choices = database.interfaces();
        return loaded;
    }
    VnstatDays days = database.days(*chosen);
    loaded.source.interface = interface_names(*chosen);
    loaded.lines = std::move(days.lines);
    loaded.lines.name_lines(std::move(days.line_names));
    return loaded;
}

std::string several_interfaces_message(const LoadedLog& loaded) {
    return "vnStat database " + loaded.source.path.lexically_normal().string() +
           " has several interfaces: name one with --interface (" + interfaces_listed(loaded.choices) + ")";
}

std::optional<std::string> interface_setting(const std::vector<SettingsFile>& files) {
    for (const SettingsFile& file : files) {
        std::string value = profile_string_from_file(file.path.string(), "path", "interface", "");
        if (!value.empty()) return value;
    }
    return std::nullopt;
}

void remember_interface(const std::filesystem::path& user_ini, const std::string& interface) {
    write_profile_string(user_ini, "path", "interface", interface);
}

}  // namespace loglezer
