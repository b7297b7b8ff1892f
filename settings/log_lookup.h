#pragma once

// Which log the programs read: the one named on the command line, else the
// one a log.ini names, else the metering program's default path.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace loglezer {

// Where the log is when no settings file names it.
inline constexpr const char* kDefaultLogPath =
    "C:\\Documents and Settings\\All Users\\Application Data\\Ostrevan\\Pellicor\\log.csv";
// Shown when the log cannot be found.
inline constexpr const char* kLogMissingMessage = "Kan de logfile niet vinden!";
// The user's settings file, log.ini in the folder "loglezer" of the user's
// configuration folder: $XDG_CONFIG_HOME/loglezer/log.ini, or
// $HOME/.config/loglezer/log.ini when XDG_CONFIG_HOME is unset, empty or not
// a full path (as the XDG rule says). Nothing when HOME too is unset, empty
// or not a full path: then there is no user's log.ini.
std::optional<std::filesystem::path> user_log_ini(const char* xdg_config_home, const char* home);
// The same from the process's environment.
std::optional<std::filesystem::path> user_log_ini();

// Where vnStat's configuration and database are looked for.
struct VnstatPlaces {
    // vnStat's configuration files in its order ($HOME/.vnstatrc, then
    // /etc/vnstat.conf); the first that exists counts.
    std::vector<std::filesystem::path> configs;
    // Its database's folder when no configuration gives one; empty: vnStat's
    // database is not looked for.
    std::filesystem::path default_dir;
};
// vnStat's own places, $HOME/.vnstatrc taken from `home` when it is a full
// path; and the same from the process's environment.
VnstatPlaces vnstat_places(const char* home);
VnstatPlaces vnstat_places();

// Where the log is looked for when the command line names none.
struct LogPlaces {
    // log.ini there, and relative paths taken from it; empty when the
    // working directory has been removed.
    std::filesystem::path working_dir;
    // The user's log.ini (user_log_ini), or nothing.
    std::optional<std::filesystem::path> user_ini;
    // vnStat's database, the log when none is found at the default path.
    VnstatPlaces vnstat = {};
};

// --vnstat: where vnStat keeps its database (vnstat_database_path).
std::filesystem::path vnstat_database(const VnstatPlaces& places);

// The look-up of the log, one order for the window, --export and
// loglezer-stats:
// 1. the log named on the command line;
// 2. else key "log" of section "path" in log.ini in the working directory,
//    a relative value taken from the working directory;
// 3. else the same key in the user's log.ini, a relative value taken from
//    that file's folder;
// 4. else the default path;
// 5. and when nothing is there, vnStat's database when it exists.
// A settings file counts when it exists and gives the key a value that is
// not empty; the log it names is then the log, even when no file is there:
// the look-up does not go on to the next place.

// The log's name: the one named on the command line, the value as log.ini in
// the working directory writes it, the full path the user's log.ini gives,
// or the default path. Messages name the log by it.
std::string log_name(const LogPlaces& places, const std::optional<std::string>& named = std::nullopt);

// The log the look-up found.
struct FoundLog {
    // Its full path. Absolute, so that a later change of the current
    // directory (a chart save makes its folder current) cannot move it.
    std::filesystem::path path;
    // The log.ini it was found through; nothing for a log named on the
    // command line or found at the default path.
    std::optional<std::filesystem::path> settings;
};

// The log log_name names, or nothing when no file (a directory does not
// count) is there.
std::optional<FoundLog> find_log(const LogPlaces& places, const std::optional<std::string>& named = std::nullopt);

// Where a missing log was looked for, as a full path.
std::string missing_log_path(const LogPlaces& places, const std::optional<std::string>& named = std::nullopt);

// Where the look-up looked for a log it did not find.
struct LogSearch {
    // The log's full path, as missing_log_path gives it.
    std::string path;
    // True when the look-up reached the default path because nothing named a
    // log: neither the command line nor a log.ini.
    bool nothing_named = false;
    // Every place looked at, in order, as full paths: the log.ini files read
    // for a name, then the log's path.
    std::vector<std::string> places;
};

LogSearch search_log(const LogPlaces& places, const std::optional<std::string>& named = std::nullopt);

// Remembers `log` (a full path) in the user's log.ini `user_ini` as key
// "log" of its first section "path", so that the next look-up finds it
// there; the rest of the file stays as it was (write_profile_string). A log
// that is that very file is refused: "Cannot create file "path". This is
// the log file.".
void remember_log(const std::filesystem::path& user_ini, const std::filesystem::path& log);

}  // namespace loglezer
