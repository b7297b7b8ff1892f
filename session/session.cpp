#include "session/session.h"

#include <algorithm>
#include <utility>

#include "log/failure.h"
#include "log/month_names.h"

namespace loglezer {
namespace {

// A failure as the window tells it: on a line of the log, its file and line
// first ("log.csv, regel 12: ..."), or the database's day for a line made of
// one ("vnstat.db: eth0 2024-03-01: ..."), the message kept as it is.
std::string told_failure(const Failure& failure, const std::filesystem::path& log, const LineList& lines) {
    if (!failure.line()) return failure.what();
    const std::string file = log.filename().string();
    if (const std::string_view day = lines.line_name(*failure.line()); !day.empty()) {
        return file + ": " + std::string(day) + ": " + failure.what();
    }
    return file + ", regel " + std::to_string(*failure.line() + 1) + ": " + failure.what();
}

// The files and their state now.
std::vector<WatchedFile> states_of(const std::vector<SettingsFile>& files) {
    std::vector<WatchedFile> states;
    states.reserve(files.size());
    for (const SettingsFile& file : files) states.push_back({file.path, file_state(file.path)});
    return states;
}

}  // namespace

Session::Session(SessionPlaces places)
    : places_(std::move(places)), named_(places_.log_argument), interface_(places_.interface_argument) {}

template <class Step>
bool Session::guarded(Outcome& outcome, const std::filesystem::path& log, const LineList& lines, Step&& step) {
    try {
        step();
        return true;
    } catch (const Failure& failure) {
        outcome.failed(told_failure(failure, log, lines));
        outcome.busy = failure.busy();
        return false;
    }
}

void Session::quiet_if_busy(Outcome& outcome) {
    // The window tries again; a box would only tell of a write in progress.
    if (outcome.busy && !outcome.notices.empty()) outcome.notices.pop_back();
}

std::optional<LogDate> Session::today() const {
    if (!places_.today) return std::nullopt;
    return places_.today();
}

std::optional<FoundLog> Session::find() const { return find_log(places_.places, named_); }

MissingLog Session::missing(const std::optional<std::string>& named, bool may_choose) const {
    LogSearch search = search_log(places_.places, named);
    return {std::move(search.path), may_choose, search.nothing_named, std::move(search.places)};
}

LogState Session::read(const FoundLog& found, Outcome& outcome, Seen& seen, bool following) {
    LogState next;
    next.found = found;
    const std::vector<SettingsFile> files = settings_files(found.settings, places_.places);
    seen.settings = states_of(files);
    next.settings = read_settings(files, places_.given);
    tell_settings_failures(next.settings, outcome, following);
    seen.log = file_state(found.path);
    load(next, files);
    return next;
}

void Session::load(LogState& next, const std::vector<SettingsFile>& files) const {
    LoadedLog loaded = load_found_log(places_.places.working_dir, next.found,
                                      interface_ ? interface_ : interface_setting(files), places_.busy_milliseconds);
    next.lines = std::move(loaded.lines);
    next.source = std::move(loaded.source);
    next.interface_choices = std::move(loaded.choices);
}

void Session::tell_settings_failures(const LogSettings& settings, Outcome& outcome, bool only_new) {
    std::vector<std::string> failures;
    for (const std::optional<std::string>* failure : {&settings.allowance_failure, &settings.units_failure}) {
        if (*failure) failures.push_back(**failure);
    }
    const std::vector<std::string>& told = settings_failures_told_;
    for (const std::string& failure : failures) {
        if (!only_new || std::find(told.begin(), told.end(), failure) == told.end()) outcome.failed(failure);
    }
    settings_failures_told_ = std::move(failures);
}

template <class Steps>
bool Session::start_afresh(const FoundLog& found, bool watch_anyway, Outcome& outcome, Steps&& steps, bool following) {
    Seen seen;
    LogState next;
    const bool done = guarded(outcome, found.path, next.lines, [&] {
        next = read(found, outcome, seen, following);
        if (next.interface_choices.empty()) steps(next);
    });
    if (done && !next.interface_choices.empty()) {
        outcome.interface_choices = next.interface_choices;
        return false;
    }
    // A busy database is read again once its writer is done, as if changed.
    if ((done || watch_anyway) && !outcome.busy) {
        watched_path_ = found.path;
        watched_state_ = seen.log;
        watched_settings_ = std::move(seen.settings);
    }
    if (!done) return false;
    state_ = std::move(next);
    outcome.changed = Outcome::Everything;
    return true;
}

std::optional<FoundLog> Session::find_again(Outcome& outcome) {
    std::optional<FoundLog> found;
    if (!guarded(outcome, [&] { found = find(); })) return std::nullopt;
    if (found) return found;
    // The window and the figures read before stay, and the box is not shown
    // again before something changes again.
    watched_state_ = file_state(watched_path_);
    for (WatchedFile& file : watched_settings_) file.state = file_state(file.path);
    outcome.missing = missing(named_, false);
    return std::nullopt;
}

void Session::remember(Outcome& outcome) {
    remember_pending_ = false;
    // Without a home folder there is no user's log.ini to remember it in.
    const std::optional<std::filesystem::path>& user_ini = places_.places.user_ini;
    if (!user_ini) return;
    guarded(outcome, [&] { remember_log(*user_ini, state_.found.path); });
    for (WatchedFile& file : watched_settings_) {
        if (file.path == *user_ini) file.state = file_state(file.path);
    }
}

std::vector<WatchedFile> Session::watched_files() const {
    std::vector<WatchedFile> files;
    if (watched_path_.empty()) return files;
    files.push_back({watched_path_, watched_state_});
    files.insert(files.end(), watched_settings_.begin(), watched_settings_.end());
    return files;
}

void Session::tell_allowance(Outcome& outcome) {
    if (!state_.allowance) return;
    const AllowanceSettings& settings = state_.settings.allowance;
    if (const std::optional<AllowanceEvent> event =
            event_to_tell(*state_.allowance, settings.warn, today().value_or(state_.allowance->today), told_)) {
        outcome.desktop_notice = allowance_notice(*event, *state_.allowance, settings, places_.separators);
    }
}

Outcome Session::start_up() {
    Outcome outcome;
    outcome.changed = Outcome::Everything;
    std::optional<FoundLog> found;
    if (!guarded(outcome, [&] { found = find(); })) return outcome;
    // A log named on the command line is not replaced by another.
    if (!found) {
        outcome.missing = missing(named_, !named_);
        return outcome;
    }
    log_missing_ = false;
    warnings_ = settings_warnings(settings_files(found->settings, places_.places));
    for (const std::string& warning : warnings_) outcome.notices.push_back({Notice::Kind::Warning, warning});
    // The first start keeps what it read and did up to a failure: the log
    // is known before it is loaded, so that a chart save never replaces it.
    state_ = LogState{};
    state_.found = *found;
    // A log chosen in place of a missing one is found directly the next
    // time, once it has been read well (perhaps only when followed).
    remember_pending_ = named_ != places_.log_argument;
    // Followed also when it fails, so that a good read follows its change.
    watched_path_ = found->path;
    Seen seen;
    const bool done = guarded(outcome, [&] {
        state_ = read(*found, outcome, seen);
        if (!state_.interface_choices.empty()) {
            outcome.interface_choices = state_.interface_choices;
            return;
        }
        loglezer::start_up(state_, places_.separators);
        show_allowance(state_, places_.separators, today());
    });
    watched_state_ = seen.log;
    watched_settings_ = std::move(seen.settings);
    if (done && outcome.interface_choices.empty() && remember_pending_) remember(outcome);
    if (done) tell_allowance(outcome);
    return outcome;
}

Outcome Session::start_up_with(const std::string& path) {
    named_ = path;
    return start_up();
}

Outcome Session::choose_option(PeriodOption option) {
    state_.screen.choice.option = option;
    Outcome outcome;
    outcome.changed = Outcome::Option;
    return outcome;
}

Outcome Session::type_year(const std::string& year) {
    Outcome outcome;
    outcome.changed = Outcome::Months;
    guarded(outcome, [&] { change_year(state_, year); });
    return outcome;
}

Outcome Session::pick_year(const std::string& year) {
    // Picking the year already shown changes nothing.
    if (year == state_.year_at_last_change) return {};
    return type_year(year);
}

void Session::set_year(const std::string& year) { state_.screen.choice.year = year; }

void Session::set_month(const std::string& month) { state_.screen.choice.month = month; }

Outcome Session::make_stats() {
    Outcome outcome;
    // The month as typed is written as the log's months are.
    outcome.changed = Outcome::Charts | Outcome::Figures | Outcome::Month;
    guarded(outcome, [&] {
        try {
            loglezer::make_stats(state_, places_.separators);
        } catch (const Failure& failure) {
            // The run looked past the last line for a year or month the log
            // lacks: said first in words, the message kept after it.
            const std::optional<std::string> absent = absent_period(state_);
            if (!absent || failure.line()) throw;
            throw Failure(*absent + " (" + failure.what() + ")");
        }
    });
    return outcome;
}

Outcome Session::reload() {
    Outcome outcome;
    if (const std::optional<FoundLog> found = find_again(outcome)) {
        const bool done = start_afresh(*found, true, outcome, [&](LogState& next) {
            loglezer::start_up(next, places_.separators);
            show_allowance(next, places_.separators, today());
        });
        if (done && remember_pending_) remember(outcome);
        if (done) tell_allowance(outcome);
    }
    quiet_if_busy(outcome);
    return outcome;
}

Outcome Session::follow() {
    Outcome outcome;
    const std::optional<FoundLog> found = find_again(outcome);
    if (!found) return outcome;
    const Choice before = state_.screen.choice;
    const Choice charts = state_.charts_choice.value_or(Choice{});
    bool unfinished = false;
    const auto steps = [&](LogState& next) {
        try {
            redo_choices(next, before, charts);
        } catch (const Failure& failure) {
            unfinished = failure.line() && *failure.line() == next.lines.count() - 1 && last_line_unended(found->path);
            throw;
        }
    };
    const bool done = start_afresh(*found, true, outcome, steps, true);
    if (done && remember_pending_) remember(outcome);
    if (done) tell_allowance(outcome);
    quiet_if_busy(outcome);
    if (!unfinished || line_waits_ >= kLineWaits) {
        line_waits_ = 0;
        return outcome;
    }
    // The writer is still at the line: its failure is told only when it
    // stays so.
    ++line_waits_;
    outcome.notices.pop_back();
    outcome.line_unfinished = true;
    return outcome;
}

void Session::redo_choices(LogState& next, const Choice& before, const Choice& charts) const {
    const Separators& seps = places_.separators;
    loglezer::start_up(next, seps);
    show_allowance(next, seps, today());
    // The charts as they were made last, when the log still has what
    // they showed ("Per jaar" is what the start-up draws).
    if (can_make_again(next, charts)) {
        change_year(next, charts.year);
        next.screen.choice = charts;
        loglezer::make_stats(next, seps);
    }
    // The selectors as the user left them, also where the charts show
    // another choice ("Maak stats" not pressed since).
    next.screen.choice.option = before.option;
    change_year(next, before.year);
    next.screen.choice.month = before.month;
}

Outcome Session::switch_to(const std::string& path) {
    Outcome outcome;
    std::optional<FoundLog> found;
    if (!guarded(outcome, [&] { found = find_log(places_.places, path); })) return outcome;
    if (!found) {
        outcome.missing = missing(path, false);
        return outcome;
    }
    const bool done = start_afresh(*found, false, outcome, [&](LogState& next) {
        loglezer::start_up(next, places_.separators);
        show_allowance(next, places_.separators, today());
    });
    if (!outcome.interface_choices.empty()) switch_waiting_ = path;
    if (!done) return outcome;
    // From here on, Ctrl+R reads it, and the next start finds it.
    named_ = path;
    line_waits_ = 0;
    remember(outcome);
    tell_allowance(outcome);
    return outcome;
}

Outcome Session::set_allowance(const std::optional<AllowanceChoice>& choice) {
    Outcome outcome;
    // No section anywhere: there is no limit to take out.
    if (!choice && !state_.settings.allowance.from) return outcome;
    if (!guarded(outcome,
                 [&] { write_allowance(allowance_ini(state_.settings.allowance, places_.places.user_ini), choice); })) {
        return outcome;
    }
    // The program's own write is no change of the settings to follow.
    for (WatchedFile& file : watched_settings_) file.state = file_state(file.path);
    outcome.changed = Outcome::Allowance;
    state_.settings = read_settings(settings_files(state_.found.settings, places_.places), places_.given);
    if (state_.settings.allowance_failure) outcome.failed(*state_.settings.allowance_failure);
    if (guarded(outcome, [&] { show_allowance(state_, places_.separators, today()); })) tell_allowance(outcome);
    return outcome;
}

Outcome Session::use_interface(const std::string& interface) {
    interface_ = interface;
    const std::optional<std::string> waiting = std::exchange(switch_waiting_, std::nullopt);
    Outcome outcome = waiting ? switch_to(*waiting) : start_up();
    const bool failed = std::any_of(outcome.notices.begin(), outcome.notices.end(),
                                    [](const Notice& n) { return n.kind == Notice::Kind::Failure; });
    if (!failed && places_.places.user_ini) {
        guarded(outcome, [&] { remember_interface(*places_.places.user_ini, interface); });
    }
    return outcome;
}

bool Session::locate() {
    const std::optional<FoundLog> found = find();
    if (!found) return false;
    log_missing_ = false;
    state_ = LogState{};
    state_.found = *found;
    return true;
}

void Session::read_log() {
    const std::vector<SettingsFile> files = settings_files(state_.found.settings, places_.places);
    warnings_ = settings_warnings(files);
    state_.settings = read_settings(files, places_.given);
    watched_path_ = state_.found.path;
    watched_state_ = file_state(state_.found.path);
    load(state_, files);
    // Without a window there is no one to ask.
    if (!state_.interface_choices.empty()) {
        throw Failure(several_interfaces_message({LineList(), state_.source, state_.interface_choices}));
    }
}

void Session::run_start_up() { loglezer::start_up(state_, places_.separators); }

void Session::show_period(const std::string& year, std::optional<int> month) {
    Choice& choice = state_.screen.choice;
    choice.option = month ? PeriodOption::PerDay : PeriodOption::PerMonth;
    choice.year = year;
    if (month) choice.month = std::string(dutch_month_name(*month));
    loglezer::make_stats(state_, places_.separators);
}

}  // namespace loglezer
