// loglezer-stats on a vnStat database made by vnStat itself, with vnStat's
// own reader as the judge of the figures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <nlohmann/json.hpp>

#include "tests/cli/stats_command_fixture.h"
#include "tests/log/vnstat_database.h"

namespace {

using loglezer::test::make_vnstat_database;
using loglezer::test::Result;
using loglezer::test::VnstatDayRow;
using Json = nlohmann::json;

// Two years of days of eth0 with amounts of every size, a few days
// missing, and wlan0 (alias "thuis") on some of the same days.
std::vector<VnstatDayRow> sample_days() {
    std::vector<VnstatDayRow> days;
    for (int i = 0; i < 70; ++i) {
        if (i % 9 == 4) continue;
        // From 1 November 2024: 30 days of November, 31 of December, January.
        const int month = i < 30 ? 11 : i < 61 ? 12 : 1;
        const int day = i < 30 ? i + 1 : i < 61 ? i - 29 : i - 60;
        const std::string date = (month == 1 ? "2025-01-" : "2024-" + std::to_string(month) + "-") +
                                 (day < 10 ? "0" : "") + std::to_string(day);
        days.push_back({"eth0", date, 1000003LL * i * i * i * i, 7000LL * i});
        if (i % 3 == 0) days.push_back({"wlan0", date, 5000000000LL + i, 3});
    }
    return days;
}

class VnstatCommand : public loglezer::test::StatsCommand {
protected:
    std::filesystem::path make(bool write_ahead = true, bool one_interface = false) {
        std::vector<loglezer::test::VnstatInterfaceRow> interfaces = {{"eth0", ""}};
        if (!one_interface) interfaces.push_back({"wlan0", "thuis"});
        std::vector<VnstatDayRow> days = sample_days();
        if (one_interface)
            days.erase(std::remove_if(days.begin(), days.end(), [](auto& d) { return d.interface != "eth0"; }),
                       days.end());
        return make_vnstat_database(dir, write_ahead, interfaces, days);
    }
    Json json(const std::string& args) {
        const Result r = run("--json " + args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.status == 0 ? Json::parse(r.out) : Json();
    }
    // vnStat's own sums of the interface's days per "YYYY", "YYYY-MM" and
    // "YYYY-MM-DD": download and upload.
    std::map<std::string, std::pair<long long, long long>> vnstat_sums(const std::string& interface) {
        const Result r = run("", "", "true; vnstat --json d -i " + interface + " --config vnstat.conf >out.txt; true");
        const Json vnstat = Json::parse(r.out);
        std::map<std::string, std::pair<long long, long long>> sums;
        for (const Json& day : vnstat["interfaces"][0]["traffic"]["day"]) {
            const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
            const std::string year = std::to_string(day["date"]["year"].get<int>());
            const std::string month = year + "-" + two(day["date"]["month"].get<int>());
            for (const std::string& key : {year, month, month + "-" + two(day["date"]["day"].get<int>())}) {
                sums[key].first += day["rx"].get<long long>();
                sums[key].second += day["tx"].get<long long>();
            }
        }
        return sums;
    }
};

// The bars of a view, by their date: download and upload bytes.
void expect_bars_match(const Json& view, std::map<std::string, std::pair<long long, long long>>& sums) {
    ASSERT_FALSE(view["bars"].empty());
    for (const Json& bar : view["bars"]) {
        const std::string date = bar["date"];
        EXPECT_EQ(bar["download_bytes"].get<long long>(), sums[date].first) << date;
        EXPECT_EQ(bar["upload_bytes"].get<long long>(), sums[date].second) << date;
    }
}

class VnstatJournals : public VnstatCommand, public ::testing::WithParamInterface<bool> {};

TEST_P(VnstatJournals, FiguresPerYearMonthAndDayAreVnstatsOwnSums) {
    const std::filesystem::path db = make(GetParam());
    const std::string log = "--log db/vnstat.db --interface eth0 ";
    const Json views[] = {json(log), json(log + "--year 2024"), json(log + "--year 2024 --month 12")};
    // Read only: no journal, -wal or -shm is left behind (vnStat's own
    // reader, below, leaves them).
    EXPECT_THAT(std::vector<std::filesystem::path>(std::filesystem::directory_iterator(dir / "db"), {}),
                ::testing::ElementsAre(db));
    EXPECT_EQ(views[0]["source"], Json({{"kind", "vnstat"}, {"path", db.string()}, {"interface", "eth0"}}));
    auto sums = vnstat_sums("eth0");
    for (const Json& view : views) expect_bars_match(view, sums);
}

INSTANTIATE_TEST_SUITE_P(Modes, VnstatJournals, ::testing::Bool(),
                         [](const auto& param_info) { return param_info.param ? "WriteAhead" : "RollbackJournal"; });

struct InterfaceCase {
    const char* name;
    const char* args;
    int status;
    long long download;      // the totals' download bytes, when it succeeds
    const char* error = "";  // a part of the failure's message
};

void PrintTo(const InterfaceCase& c, std::ostream* os) { *os << c.name; }

class VnstatInterfaces : public VnstatCommand, public ::testing::WithParamInterface<InterfaceCase> {};

long long total_of(const std::string& interface) {
    long long total = 0;
    for (const VnstatDayRow& d : sample_days()) total += interface.find(d.interface) != std::string::npos ? d.rx : 0;
    return total;
}

TEST_P(VnstatInterfaces, AreChosenByNameAliasOrSum) {
    const InterfaceCase& c = GetParam();
    make(true, std::string(c.name) == "TheOnlyOne");
    const Result r = run(std::string("--json --log db/vnstat.db ") + c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_THAT(r.err, ::testing::HasSubstr(c.error));
    if (c.status == 0) {
        EXPECT_EQ(Json::parse(r.out)["totals"]["download_bytes"].get<long long>(), c.download);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, VnstatInterfaces,
    ::testing::Values(InterfaceCase{"TheOnlyOne", "", 0, total_of("eth0")},
                      InterfaceCase{"ByName", "--interface wlan0", 0, total_of("wlan0")},
                      InterfaceCase{"ByAlias", "--interface thuis", 0, total_of("wlan0")},
                      InterfaceCase{"SummedDays", "--interface eth0+thuis", 0, total_of("eth0 wlan0")},
                      InterfaceCase{"NoneOfSeveral", "", 1, 0,
                                    "has several interfaces: name one with --interface (its interfaces: eth0, "
                                    "wlan0 (thuis))"},
                      InterfaceCase{"Unknown", "--interface eth1", 1, 0,
                                    "unknown interface 'eth1' in vnStat database"}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

struct FailureCase {
    const char* name;
    const char* sql;  // run on a database of vnStat, or on a new file when `foreign`
    bool foreign;
    const char* error;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class VnstatFailures : public VnstatCommand, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(VnstatFailures, NameTheDatabaseOrTheRow) {
    const FailureCase& c = GetParam();
    const std::filesystem::path db = dir / "db" / "vnstat.db";
    if (c.foreign) {
        std::filesystem::create_directories(dir / "db");
        if (*c.sql) loglezer::test::run_sql(db, c.sql);
        std::ofstream(db, std::ios::app);
    } else {
        make(false, true);
        if (std::string(c.sql) == "truncate") {
            std::filesystem::resize_file(db, 6000);
        } else {
            loglezer::test::run_sql(db, c.sql);
        }
    }
    const Result r = run("--log db/vnstat.db");
    EXPECT_EQ(r.status, 1);
    std::string error = c.error;
    if (const std::size_t at = error.find("DB"); at != std::string::npos) error.replace(at, 2, db.string());
    EXPECT_EQ(r.err, "loglezer-stats: " + error + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, VnstatFailures,
    ::testing::Values(FailureCase{"NotVnstat", "CREATE TABLE notes (text)", true, "not a vnStat database: DB"},
                      FailureCase{"ChangedTables", "ALTER TABLE day RENAME COLUMN rx TO download", false,
                                  "not a vnStat database: DB"},
                      FailureCase{"Truncated", "truncate", false, "DB: database disk image is malformed"},
                      FailureCase{"EmptyFileIsAnEmptyLog", "", true, "List index out of bounds (0)"},
                      FailureCase{"RowWithoutADate", "UPDATE day SET date = 'gisteren' WHERE id = 2", false,
                                  "vnstat.db: eth0 row 2: 'gisteren' is not a valid date"},
                      FailureCase{"AmountThatIsNoNumber", "UPDATE day SET rx = 'veel' WHERE date = '2024-11-01'", false,
                                  "db/vnstat.db: eth0 2024-11-01: 'veel' is not a valid floating point value"}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(VnstatCommand, AnOrdinaryUserReadsRootsDatabaseAndLeavesNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make the database root's";
    const std::filesystem::path db = make();
    std::filesystem::permissions(dir, std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    const Result r = run("", "",
                         "setpriv --reuid=nobody --regid=nogroup --clear-groups '" LOGLEZER_STATS_EXE
                         "' --log db/vnstat.db --interface eth0 >out.txt; true");
    EXPECT_THAT(r.out, ::testing::StartsWith("vnStat database " + db.string() + ", interface eth0\n")) << r.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "db"), {}), 1);
}

TEST_F(VnstatCommand, VnstatOptionAndTheLookUpFindTheDatabaseOfVnstatrc) {
    const std::filesystem::path db = make(true, true);
    std::filesystem::create_directories(dir / "home");
    std::ofstream(dir / "home" / ".vnstatrc") << "# vnStat\nDatabaseDir \"" << (dir / "db").string() << "\"\n";
    for (const char* args : {"--vnstat --json", "--json"}) {
        const Result r =
            run(args, ">out.txt", "LC_ALL=C HOME='" + (dir / "home").string() + "' XDG_CONFIG_HOME=/nowhere");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Json::parse(r.out)["source"]["path"], db.string()) << args;
    }
}

}  // namespace
