#pragma once

// The viewer without its window: the log it shows and where it was found,
// its settings, the figures the statistics left and what the user chose.
// Its operations are the program's events; each tells the window what to
// draw again and what to say, and never looks at a widget. The window,
// --export and loglezer-stats all run it, so that the three cannot drift.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "allowance/allowance_alerts.h"
#include "allowance/allowance_edit.h"
#include "log/calendar.h"
#include "log/log_file.h"
#include "log/separators.h"
#include "session/log_state.h"
#include "session/screen.h"
#include "settings/log_lookup.h"

namespace loglezer {

// Where a session finds its log and its settings, and how it reads amounts.
struct SessionPlaces {
    LogPlaces places;
    std::optional<std::string> log_argument;  // the log named on the command line
    GivenSettings given;
    Separators separators;
    // Today's date, against which the log's last line is judged stale;
    // without a clock it is not judged.
    Clock today = {};
    std::optional<std::string> interface_argument = {};  // --interface
    // How long a read waits for vnStat's daemon to finish a write.
    int busy_milliseconds = kVnstatBusyMilliseconds;
};

class Session {
public:
    explicit Session(SessionPlaces places);

    // The window's events. Each returns what to draw again and what to
    // tell; a failure is told, and leaves what was done before it.

    // The program's start: finds the log and reads it and its settings, then
    // runs the start-up. A log that is not there is told (with may_choose
    // when no log was named: then start_up_with may follow).
    Outcome start_up();
    // The log chosen in place of a missing one, as if named on the command
    // line; remembered in the user's log.ini once it has started up.
    Outcome start_up_with(const std::string& path);
    Outcome choose_option(PeriodOption option);
    // A year typed: the month list of that year (type_year), or an empty
    // list while the text names no year of the log.
    Outcome type_year(const std::string& year);
    // A year picked from the list: as if typed, unless it is the one shown.
    Outcome pick_year(const std::string& year);
    // The year or the month as the box now shows it, whoever wrote it:
    // what "Maak stats" is made for. Nothing else changes.
    void set_year(const std::string& year);
    void set_month(const std::string& month);
    Outcome make_stats();
    // Ctrl+R: the log found and read again, started up afresh. A log that
    // fails keeps everything as it was.
    Outcome reload();
    // The log or its settings changed on the disk: as reload, then the
    // charts made again for what they showed when the log still has it, and
    // the user's choice as it was. A settings failure already told is not
    // told again. A log that fails on its unended last line alone is waited
    // for (line_unfinished) up to kLineWaits times in a row before its
    // failure is told. A log chosen by the user is remembered at its first
    // good read.
    Outcome follow();
    static constexpr int kLineWaits = 10;
    // Ctrl+O or a drop: another log, started up afresh and remembered in
    // the user's log.ini; one that fails keeps everything as it was.
    Outcome switch_to(const std::string& path);
    // The interface chosen when an event was told to ask: that event again
    // with it, remembered in the user's log.ini once it has gone well.
    Outcome use_interface(const std::string& interface);
    // "Bundel instellen": the allowance chosen is written into the log.ini
    // it came from (else the user's) and read back with the other settings;
    // nothing takes the limit out. A failure to write is told and changes
    // nothing.
    Outcome set_allowance(const std::optional<AllowanceChoice>& choice);
    // The dialog's values for the allowance read.
    AllowanceChoice allowance_choice() const { return loglezer::allowance_choice(state_.settings.allowance); }

    // For the programs without a window, which stop at a failure: finds the
    // log (false when it is not there), reads it and its settings, runs the
    // start-up, runs "Maak stats" for a year (per month) or a month of it
    // (per day). Each throws Failure where it stops.
    bool locate();
    void read_log();
    void run_start_up();
    void show_period(const std::string& year, std::optional<int> month);

    const Screen& screen() const { return state_.screen; }
    // True until a log has been found.
    bool log_missing() const { return log_missing_; }
    const FoundLog& log() const { return state_.found; }
    const LineList& lines() const { return state_.lines; }
    const LogSource& source() const { return state_.source; }
    const LogSettings& settings() const { return state_.settings; }
    const YearFigures& figures() const { return state_.figures; }
    // What is wrong in the log.ini files the settings were read from.
    const std::vector<std::string>& warnings() const { return warnings_; }
    // The log's path and its state on the disk when it was last looked at,
    // read or not: what to watch.
    const std::filesystem::path& watched_path() const { return watched_path_; }
    // Today's date by the session's clock; nothing without one.
    std::optional<LogDate> today() const;
    const FileState& watched_state() const { return watched_state_; }
    // What to follow: the log first, then the log.ini files its settings
    // were looked for in, each with its state when last read.
    std::vector<WatchedFile> watched_files() const;

private:
    // The log the look-up finds now, the one named if any.
    std::optional<FoundLog> find() const;
    // The log `named` (or the one the look-up takes) as missing.
    MissingLog missing(const std::optional<std::string>& named, bool may_choose) const;
    // A fresh state of the log found: its settings, then its lines;
    // `outcome` is told what could not be read of the settings. Throws
    // where the log cannot be read. `seen` is the files' state before the
    // read, so that a change during it counts as a change.
    // A follow tells only the settings failures not told before.
    struct Seen {
        FileState log;
        std::vector<WatchedFile> settings;
    };
    LogState read(const FoundLog& found, Outcome& outcome, Seen& seen, bool following = false);
    // The settings' failures in `outcome`, all or those not told before.
    void tell_settings_failures(const LogSettings& settings, Outcome& outcome, bool only_new);
    // follow's steps on the log read afresh.
    void redo_choices(LogState& next, const Choice& before, const Choice& charts) const;
    // Reads the lines of the log found into `next`, with the interface
    // chosen, named on the command line or set in `files`.
    void load(LogState& next, const std::vector<SettingsFile>& files) const;
    // Runs `steps` on the log found, read afresh, and lets the result take
    // the old state's place only when all of it went well. `watch_anyway`:
    // the log found is watched from now on, also when it failed, so that it
    // is read again only once it has changed again.
    template <class Steps>
    bool start_afresh(const FoundLog& found, bool watch_anyway, Outcome& outcome, Steps&& steps,
                      bool following = false);
    // The log found for an event that reads it again; nothing after telling
    // a failure or that it is missing.
    std::optional<FoundLog> find_again(Outcome& outcome);
    // Runs a step of an event on the log at `log` read into `lines` (the
    // log shown, when not given); a failure is told in `outcome`, naming the log's file and its
    // line when it happened on one. Returns whether it went well.
    template <class Step>
    bool guarded(Outcome& outcome, const std::filesystem::path& log, const LineList& lines, Step&& step);
    template <class Step>
    bool guarded(Outcome& outcome, Step&& step) {
        return guarded(outcome, state_.found.path, state_.lines, std::forward<Step>(step));
    }
    // Drops the failure of a busy database from a reread's outcome.
    static void quiet_if_busy(Outcome& outcome);
    // Writes the log shown into the user's log.ini; this write is not a
    // change of the settings to follow.
    void remember(Outcome& outcome);
    // The desktop's notice of the allowance now due, once per billing period
    // and event, into `outcome`.
    void tell_allowance(Outcome& outcome);

    SessionPlaces places_;
    // The log named on the command line, or the one the user chose since.
    std::optional<std::string> named_;
    // The interface named on the command line, or the one the user chose.
    std::optional<std::string> interface_;
    // The log switched to that waits for the choice of an interface.
    std::optional<std::string> switch_waiting_;
    LogState state_;
    bool log_missing_ = true;
    std::vector<std::string> warnings_;
    std::filesystem::path watched_path_;
    FileState watched_state_;
    ToldEvents told_;
    std::vector<WatchedFile> watched_settings_;  // as watched_state_ for the settings files
    // The settings failures told last, not told again by a follow.
    std::vector<std::string> settings_failures_told_;
    // A log the user chose that has not yet been read well, to be
    // remembered once it is.
    bool remember_pending_ = false;
    // How many follows in a row have waited for an unended last line.
    int line_waits_ = 0;
};

}  // namespace loglezer
