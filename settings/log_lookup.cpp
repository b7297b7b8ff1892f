#include "settings/log_lookup.h"

#include <cstdlib>

#include "log/files.h"
#include "log/log_file.h"
#include "log/vnstat_source.h"
#include "settings/profile.h"

namespace loglezer {
namespace {

// The value of key "log" in section "path" of a settings file, or an empty
// text when the file, section or key is missing or the value is empty.
std::string log_setting(const std::filesystem::path& ini) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ini, ec)) return {};
    return profile_string_from_file(ini.string(), "path", "log", "");
}

// The log's name, the settings file it came from and the settings files
// read for it.
struct LogChoice {
    std::string name;
    std::optional<std::filesystem::path> settings;
    std::vector<std::filesystem::path> read;
    bool by_default;  // nothing named a log
};

LogChoice choose_log(const LogPlaces& places, const std::optional<std::string>& named) {
    if (named) return {*named, std::nullopt, {}, false};
    const std::filesystem::path local_ini = resolve_path(places.working_dir, "log.ini");
    if (std::string value = log_setting(local_ini); !value.empty())
        return {std::move(value), local_ini, {local_ini}, false};
    if (places.user_ini) {
        if (const std::string value = log_setting(*places.user_ini); !value.empty()) {
            // Taken from the file's own folder, wherever the program starts.
            return {(places.user_ini->parent_path() / value).string(),
                    places.user_ini,
                    {local_ini, *places.user_ini},
                    false};
        }
        return {kDefaultLogPath, std::nullopt, {local_ini, *places.user_ini}, true};
    }
    return {kDefaultLogPath, std::nullopt, {local_ini}, true};
}

}  // namespace

std::optional<std::filesystem::path> user_log_ini(const char* xdg_config_home, const char* home) {
    const auto full = [](const char* dir) { return dir && std::filesystem::path(dir).is_absolute(); };
    if (full(xdg_config_home)) return std::filesystem::path(xdg_config_home) / "loglezer" / "log.ini";
    if (full(home)) return std::filesystem::path(home) / ".config" / "loglezer" / "log.ini";
    return std::nullopt;
}

std::optional<std::filesystem::path> user_log_ini() {
    return user_log_ini(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

std::string log_name(const LogPlaces& places, const std::optional<std::string>& named) {
    return choose_log(places, named).name;
}

VnstatPlaces vnstat_places(const char* home) {
    VnstatPlaces places;
    if (home && std::filesystem::path(home).is_absolute())
        places.configs.push_back(std::filesystem::path(home) / ".vnstatrc");
    places.configs.emplace_back("/etc/vnstat.conf");
    places.default_dir = "/var/lib/vnstat";
    return places;
}

VnstatPlaces vnstat_places() { return vnstat_places(std::getenv("HOME")); }

std::filesystem::path vnstat_database(const VnstatPlaces& places) {
    return vnstat_database_path(places.configs, places.default_dir.empty() ? "/var/lib/vnstat" : places.default_dir);
}

std::optional<FoundLog> find_log(const LogPlaces& places, const std::optional<std::string>& named) {
    LogChoice choice = choose_log(places, named);
    if (!log_exists(places.working_dir, choice.name)) {
        // A vnStat user without the metering program's log sees vnStat's.
        if (named || choice.settings || places.vnstat.default_dir.empty()) return std::nullopt;
        const std::filesystem::path database = vnstat_database(places.vnstat);
        if (!log_exists(places.working_dir, database.string())) return std::nullopt;
        return FoundLog{std::filesystem::absolute(database), std::nullopt};
    }
    return FoundLog{std::filesystem::absolute(resolve_path(places.working_dir, choice.name)),
                    std::move(choice.settings)};
}

std::string missing_log_path(const LogPlaces& places, const std::optional<std::string>& named) {
    return resolve_path(places.working_dir, log_name(places, named)).lexically_normal().string();
}

LogSearch search_log(const LogPlaces& places, const std::optional<std::string>& named) {
    const LogChoice choice = choose_log(places, named);
    LogSearch search{resolve_path(places.working_dir, choice.name).lexically_normal().string(), choice.by_default, {}};
    for (const std::filesystem::path& ini : choice.read) search.places.push_back(ini.lexically_normal().string());
    search.places.push_back(search.path);
    return search;
}

void remember_log(const std::filesystem::path& user_ini, const std::filesystem::path& log) {
    // Never written over the log, even when someone has chosen this file as
    // the log.
    if (same_file(user_ini, log)) {
        fail_create(user_ini, "This is the log file.");
    }
    write_profile_string(user_ini, "path", "log", log.string());
}

}  // namespace loglezer
