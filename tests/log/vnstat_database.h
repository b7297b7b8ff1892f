#pragma once

// A vnStat database made by vnStat itself in a test's folder: its
// configuration names the folder as DatabaseDir, `vnstatd --initdb` makes
// the database and `vnstat --add --force` its interfaces; the day rows go
// in with the sqlite3 tool, as the daemon writes them.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace loglezer::test {

struct VnstatInterfaceRow {
    std::string name;
    std::string alias;
};

struct VnstatDayRow {
    std::string interface;
    std::string date;  // YYYY-MM-DD
    long long rx;
    long long tx;
};

inline void run_shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// Runs SQL on the database with the sqlite3 tool, in one transaction, read
// from a file beside the database's folder (ten years of rows are too long
// for a command line).
inline void run_sql(const std::filesystem::path& database, const std::string& sql) {
    const std::filesystem::path script = database.parent_path().parent_path() / "rows.sql";
    std::ofstream(script) << "BEGIN;\n" << sql << ";\nCOMMIT;\n";
    if (std::system(("sqlite3 '" + database.string() + "' <'" + script.string() + "' >/dev/null").c_str()) != 0) {
        throw std::runtime_error("sqlite3 failed on " + database.string());
    }
    std::filesystem::remove(script);
}

inline std::string day_rows_sql(const std::vector<VnstatDayRow>& days) {
    std::string sql;
    for (const VnstatDayRow& d : days) {
        sql += "INSERT INTO day (interface, date, rx, tx) SELECT id, '" + d.date + "', " + std::to_string(d.rx) + ", " +
               std::to_string(d.tx) + " FROM interface WHERE name = '" + d.interface + "';";
    }
    return sql;
}

// The configuration dir/vnstat.conf and the database dir/db/vnstat.db, in
// write-ahead mode or with a rollback journal; returns the database.
inline std::filesystem::path make_vnstat_database(const std::filesystem::path& dir, bool write_ahead,
                                                  const std::vector<VnstatInterfaceRow>& interfaces,
                                                  const std::vector<VnstatDayRow>& days) {
    const std::filesystem::path config = dir / "vnstat.conf";
    std::filesystem::create_directories(dir / "db");
    std::ofstream(config) << "DatabaseDir \"" << (dir / "db").string() << "\"\nDatabaseWriteAheadLogging "
                          << (write_ahead ? 1 : 0) << "\nUseLogging 0\n";
    const std::string with_config = " --config '" + config.string() + "' >/dev/null";
    run_shell("vnstatd --initdb" + with_config);
    const std::filesystem::path database = dir / "db" / "vnstat.db";
    std::string sql;
    for (const VnstatInterfaceRow& i : interfaces) {
        run_shell("vnstat --add -i '" + i.name + "' --force" + with_config);
        if (!i.alias.empty()) sql += "UPDATE interface SET alias = '" + i.alias + "' WHERE name = '" + i.name + "';";
    }
    run_sql(database, sql + day_rows_sql(days));
    return database;
}

}  // namespace loglezer::test
