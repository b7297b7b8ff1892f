#pragma once

// What the log shown is read from: a log file, or vnStat's database with
// the interfaces chosen of it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "log/line_list.h"
#include "log/vnstat_source.h"
#include "settings/log_lookup.h"
#include "settings/settings_files.h"

namespace loglezer {

struct LogSource {
    enum class Kind { Log, Vnstat };
    Kind kind = Kind::Log;
    std::filesystem::path path;
    std::string interface;  // the interfaces read, "eth0" or "eth0+wlan0"; empty for a log
};

// "vnStat database /var/lib/vnstat/vnstat.db, interface eth0"; empty for a log.
std::string source_text(const LogSource& source);

// A source read: its lines, or the interfaces to choose from when a vnStat
// database has several and none was named (then there are no lines).
struct LoadedLog {
    LineList lines;
    LogSource source;
    std::vector<VnstatInterface> choices;
};

// Reads the log found: a file beginning with SQLite's header as vnStat's
// database, the interface `interface` names (vnstat_source.h), any other as
// a log file. Throws Failure where it cannot be read.
LoadedLog load_found_log(const std::filesystem::path& working_dir, const FoundLog& found,
                         const std::optional<std::string>& interface, int busy_milliseconds);

// "vnStat database PATH has several interfaces: name one with --interface
// (its interfaces: ...)": what the programs without a window say when they
// cannot ask.
std::string several_interfaces_message(const LoadedLog& loaded);

// The key "interface" of the section "path" of the first of the files that
// gives it a value.
std::optional<std::string> interface_setting(const std::vector<SettingsFile>& files);

// Remembers the interface chosen in the user's log.ini, beside the log.
void remember_interface(const std::filesystem::path& user_ini, const std::string& interface);

}  // namespace loglezer
