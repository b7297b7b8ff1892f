#include "log/vnstat_source.h"

#include <sqlite3.h>

#include <array>
#include <cctype>
#include <cstring>
#include <fstream>

#include "log/failure.h"
#include "log/log_file.h"

namespace loglezer {

struct VnstatDatabase::Connection {
    sqlite3* db = nullptr;
};

namespace {

constexpr std::array<const char*, 12> kMonthAbbrevs = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The first 100 bytes of the file: SQLite's header; fewer when it is shorter.
std::string file_header(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string header(100, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));
    return header;
}

// A path as SQLite's file: URI takes it, "%", "?" and "#" escaped.
std::string uri_path(const std::string& path) {
    std::string out;
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// The URI of a read-only open. A write-ahead database without its -wal
// file has no writer and nothing outside the file: it is opened as
// unchanging, since SQLite would otherwise make a -wal and a -shm file
// wherever it may write (as root, or as vnStat's own user) and leave them.
std::string open_uri(const std::filesystem::path& path) {
    const std::string header = file_header(path);
    const bool write_ahead = header.size() > 19 && header[18] == 2 && header[19] == 2;
    std::error_code ec;
    const bool wal_absent = !std::filesystem::exists(path.string() + "-wal", ec) && !ec;
    return "file:" + uri_path(path.string()) + "?mode=ro" + (write_ahead && wal_absent ? "&immutable=1" : "");
}

// vnStat's "YYYY-MM-DD" as the log writes a day, "DD-Mon-YYYY"; nothing
// when it is no such date.
std::optional<std::string> log_day(std::string_view date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!std::isdigit(static_cast<unsigned char>(date[i]))) return std::nullopt;
    }
    const int month = (date[5] - '0') * 10 + (date[6] - '0');
    const int day = (date[8] - '0') * 10 + (date[9] - '0');
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    return std::string(date.substr(8, 2)) + "-" + kMonthAbbrevs[static_cast<std::size_t>(month - 1)] + "-" +
           std::string(date.substr(0, 4));
}

std::string column_text(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

// A prepared statement, finalised on every way out.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) { code_ = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    int code() const { return code_; }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int code_ = SQLITE_OK;
};

// The value of a key of vnStat's configuration text: "Key value" or
// "Key "value"", comments after "#" or ";".
std::optional<std::string> config_value(std::istream& in, std::string_view key) {
    std::string line;
    while (std::getline(in, line)) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#' || line[start] == ';') continue;
        if (line.compare(start, key.size(), key) != 0) continue;
        std::size_t value = line.find_first_not_of(" \t", start + key.size());
        if (value == start + key.size() || value == std::string::npos) continue;
        std::string text = line.substr(value);
        if (!text.empty() && text.front() == '"') {
            const std::size_t close = text.find('"', 1);
            text = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        } else {
            text = text.substr(0, text.find_first_of(" \t#;\r"));
        }
        if (!text.empty()) return text;
    }
    return std::nullopt;
}

}  // namespace

bool is_sqlite_file(const std::filesystem::path& path) {
    static constexpr char kHeader[] = "SQLite format 3";  // and its NUL: 16 bytes
    const std::string header = file_header(path);
    return header.size() >= sizeof kHeader && std::memcmp(header.data(), kHeader, sizeof kHeader) == 0;
}

VnstatDatabase::VnstatDatabase(const std::filesystem::path& path, int busy_milliseconds)
    : path_(path), connection_(new Connection) {
    try {
        const int code =
            sqlite3_open_v2(open_uri(path).c_str(), &connection_->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
        if (code != SQLITE_OK) fail_sqlite(code);
        sqlite3_busy_timeout(connection_->db, busy_milliseconds);
        read_interfaces();
    } catch (...) {
        sqlite3_close(connection_->db);
        delete connection_;
        throw;
    }
}

VnstatDatabase::~VnstatDatabase() {
    sqlite3_close(connection_->db);
    delete connection_;
}

void VnstatDatabase::fail_sqlite(int code) const {
    const std::string full = path_.lexically_normal().string();
    // No such table or column: a file of another program, or of a vnStat
    // whose tables have changed.
    if ((code & 0xff) == SQLITE_ERROR) throw Failure("not a vnStat database: " + full);
    if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED) {
        Failure busy("vnStat database is busy: " + full);
        busy.set_busy();
        throw busy;
    }
    const char* message = connection_->db ? sqlite3_errmsg(connection_->db) : sqlite3_errstr(code);
    throw Failure(full + ": " + message);
}

void VnstatDatabase::read_interfaces() {
    // Every column of both tables that is read, so that a changed table is
    // told before a row is.
    if (const Statement check(connection_->db, "SELECT id, interface, date, rx, tx FROM day LIMIT 0");
        check.code() != SQLITE_OK) {
        fail_sqlite(check.code());
    }
    const Statement list(connection_->db, "SELECT id, name, alias FROM interface ORDER BY name");
    if (list.code() != SQLITE_OK) fail_sqlite(list.code());
    int code = SQLITE_OK;
    while ((code = sqlite3_step(list.get())) == SQLITE_ROW) {
        interfaces_.push_back(
            {sqlite3_column_int64(list.get(), 0), column_text(list.get(), 1), column_text(list.get(), 2)});
    }
    if (code != SQLITE_DONE) fail_sqlite(code);
}

std::optional<std::vector<VnstatInterface>> VnstatDatabase::choose(const std::optional<std::string>& named) const {
    if (!named || named->empty()) {
        if (interfaces_.size() > 1) return std::nullopt;
        return interfaces_;
    }
    std::vector<VnstatInterface> chosen;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = named->find('+', start);
        const std::string name = named->substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        const VnstatInterface* found = nullptr;
        for (const VnstatInterface& i : interfaces_) {
            if (i.name == name || (!i.alias.empty() && i.alias == name)) found = found ? found : &i;
        }
        if (!found) {
            throw Failure("unknown interface " + loglezer::quoted(name, kWholeText) + " in vnStat database " +
                          path_.lexically_normal().string() + " (" + interfaces_listed(interfaces_) + ")");
        }
        chosen.push_back(*found);
        if (plus == std::string::npos) return chosen;
        start = plus + 1;
    }
}

VnstatDays VnstatDatabase::days(const std::vector<VnstatInterface>& chosen) const {
    std::string ids;
    for (const VnstatInterface& i : chosen) ids += (ids.empty() ? "" : ",") + std::to_string(i.id);
    // One interface's amounts as vnStat wrote them, so that they are read
    // by the log's rules; several summed per day.
    const std::string sql = chosen.size() == 1
                                ? "SELECT id, date, rx, tx FROM day WHERE interface = " + ids + " ORDER BY date, id"
                                : "SELECT MIN(id), date, SUM(rx), SUM(tx) FROM day WHERE interface IN (" + ids +
                                      ") GROUP BY date ORDER BY date";
    const Statement rows(connection_->db, sql);
    if (rows.code() != SQLITE_OK) fail_sqlite(rows.code());
    const std::string names = interface_names(chosen);
    std::string content;
    VnstatDays days;
    int code = SQLITE_OK;
    while ((code = sqlite3_step(rows.get())) == SQLITE_ROW) {
        const std::string date = column_text(rows.get(), 1);
        const std::optional<std::string> day = log_day(date);
        if (!day) {
            throw Failure(path_.filename().string() + ": " + names + " row " + column_text(rows.get(), 0) + ": " +
                          loglezer::quoted(date) + " is not a valid date");
        }
        for (const std::string& part : {*day, column_text(rows.get(), 2), column_text(rows.get(), 3)}) {
            content += part;
            content += ',';
        }
        content += '\n';
        days.line_names.push_back(names);
        days.line_names.back().append(" ").append(date);
    }
    if (code != SQLITE_DONE) fail_sqlite(code);
    days.lines = LineList::from_content(content);
    return days;
}

std::string interface_label(const VnstatInterface& interface) {
    return interface.alias.empty() ? interface.name : interface.name + " (" + interface.alias + ")";
}

std::string interface_names(const std::vector<VnstatInterface>& interfaces) {
    std::string names;
    for (const VnstatInterface& i : interfaces) names += (names.empty() ? "" : "+") + i.name;
    return names;
}

std::string interfaces_listed(const std::vector<VnstatInterface>& interfaces) {
    std::string list;
    for (const VnstatInterface& i : interfaces) list += (list.empty() ? "" : ", ") + interface_label(i);
    return "its interfaces: " + (list.empty() ? std::string("none") : list);
}

std::filesystem::path vnstat_database_path(const std::vector<std::filesystem::path>& configs,
                                           const std::filesystem::path& default_dir) {
    for (const std::filesystem::path& config : configs) {
        std::ifstream in(config);
        if (!in) continue;
        // vnStat reads the first configuration it finds, and takes its
        // default for a key it does not give.
        const std::optional<std::string> dir = config_value(in, "DatabaseDir");
        return std::filesystem::path(dir ? *dir : default_dir.string()) / kVnstatDatabaseName;
    }
    return default_dir / kVnstatDatabaseName;
}

}  // namespace loglezer
