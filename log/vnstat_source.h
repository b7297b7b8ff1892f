#pragma once

// vnStat's database read as a log: each day row of the chosen interfaces
// becomes one log line "dd-Mon-yyyy,rx,tx,", in date order, so that every
// reader of the log reads it unchanged. Read only, with SQLite's C library.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "log/line_list.h"

namespace loglezer {

// The file vnStat keeps its figures in, in its DatabaseDir.
inline constexpr const char* kVnstatDatabaseName = "vnstat.db";
// How long a read waits for vnStat's daemon to finish a write.
inline constexpr int kVnstatBusyMilliseconds = 5000;

// Whether the file begins with SQLite's header, "SQLite format 3" and a NUL:
// then it is read as a vnStat database, not as a log. False when it cannot
// be read.
bool is_sqlite_file(const std::filesystem::path& path);

// An interface vnStat counts.
struct VnstatInterface {
    long long id = 0;
    std::string name;
    std::string alias;  // empty when it has none
};

// The days of one or more interfaces as log lines, and for each line the
// name that failures give it in place of a line number ("eth0 2024-03-01").
struct VnstatDays {
    LineList lines;
    std::vector<std::string> line_names;
};

// One read-only connection to a vnStat database. Nothing is ever written:
// no journal, no -wal and no -shm file is left behind by it. Failures:
// "not a vnStat database: PATH" (a SQLite file without vnStat's tables, or
// with tables other than vnStat 2's), "vnStat database is busy: PATH" after
// waiting `busy_milliseconds` for a writer, and "PATH: SQLite's message"
// for a damaged one.
class VnstatDatabase {
public:
    explicit VnstatDatabase(const std::filesystem::path& path, int busy_milliseconds = kVnstatBusyMilliseconds);
    ~VnstatDatabase();
    VnstatDatabase(const VnstatDatabase&) = delete;
    VnstatDatabase& operator=(const VnstatDatabase&) = delete;

    // The interfaces, in the order of their names.
    const std::vector<VnstatInterface>& interfaces() const { return interfaces_; }
    // The interfaces `named` names: a name or an alias, or several joined
    // by "+" ("eth0+wlan0"), whose days are summed. Without a name, the only
    // interface; nothing when there are several. An unknown name fails with
    // "unknown interface 'x' in vnStat database PATH (its interfaces: ...)".
    std::optional<std::vector<VnstatInterface>> choose(const std::optional<std::string>& named) const;
    // The day rows of the interfaces, summed per date when they are several.
    // A row whose date cannot be read fails with "FILE: NAME row ID: 'date'
    // is not a valid date".
    VnstatDays days(const std::vector<VnstatInterface>& chosen) const;

private:
    struct Connection;
    [[noreturn]] void fail_sqlite(int code) const;
    void read_interfaces();

    std::filesystem::path path_;
    Connection* connection_ = nullptr;
    std::vector<VnstatInterface> interfaces_;
};

// "eth0", "eth0 (thuis)" with its alias: an interface as a list shows it.
std::string interface_label(const VnstatInterface& interface);
// The names of interfaces joined by "+", as --interface takes them.
std::string interface_names(const std::vector<VnstatInterface>& interfaces);
// "its interfaces: eth0, wlan0 (thuis)": what a message about the
// interfaces of a database ends with.
std::string interfaces_listed(const std::vector<VnstatInterface>& interfaces);

// Where vnStat keeps its database, found as vnStat finds its configuration:
// the DatabaseDir of the first of `configs` that exists (vnStat's are
// $HOME/.vnstatrc, then /etc/vnstat.conf), else `default_dir`; the file
// vnstat.db in it.
std::filesystem::path vnstat_database_path(const std::vector<std::filesystem::path>& configs,
                                           const std::filesystem::path& default_dir);

}  // namespace loglezer
