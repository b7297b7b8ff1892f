#include "stats/startup.h"

#include "log/failure.h"
#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"

namespace loglezer {

std::vector<std::string> year_list(const LineList& lines) {
    std::vector<std::string> years;
    std::string_view last;
    // The text `last` as a word when a dated line gave it: a dated line with
    // the same word has the same year text, and is not read.
    std::uint32_t last_word = 0;
    for (int i = 0; i < lines.count(); ++i) {
        const std::uint32_t word = lines.dated_year(i);
        if (word != 0 && word == last_word) continue;
        const std::string_view year = year_text(lines.at(i));
        if (year != last) {
            years.emplace_back(year);
            last = year;
        }
        last_word = word;
    }
    return years;
}

namespace {

// The index of the first line whose year number is `year`. A year that is no
// whole number fails on its line, and when no line has the year the search
// fails past the last line. A dated line's year is told from the list's
// index without reading the line.
long long first_line_of_year_number(const LineList& lines, int year) {
    const YearNumberIs is_year(year);
    for (long long index = 0;; ++index) {
        if (index < lines.count()) {
            if (const std::uint32_t word = lines.dated_year(index)) {
                if (is_year.dated(word)) return index;
                continue;
            }
        }
        if (lines.noting_line(index, [&] { return is_year(lines.at(index)); })) return index;
    }
}

}  // namespace

std::vector<std::string> collect_months(const LineList& lines, const std::string& year_text, SharedState& shared) {
    const int chosen = text_to_int(year_text);
    long long index = first_line_of_year_number(lines, chosen);

    std::vector<std::string> months;
    std::string last_abbrev;
    for (; index < lines.count(); ++index) {
        const std::string_view line = lines.at(index);
        // A line of another year ends the list, so a year without a December
        // line does not list the next year's months. A line whose year is no
        // number does not.
        const std::optional<int> line_year = parse_int(year_number_text(line));
        if (line_year && *line_year != chosen) break;
        const std::string_view abbrev = month_abbrev(line);
        if (abbrev == last_abbrev) continue;
        last_abbrev = std::string(abbrev);
        if (const auto name = look_up_month(abbrev)) shared.current_month_name = *name;
        months.push_back(shared.current_month_name);
        if (months.back() == "December") break;
    }
    return months;
}

bool log_has_year(const LineList& lines, const std::string& year_text) {
    const std::optional<int> year = parse_int(year_text);
    if (!year) return false;
    for (long long index = 0; index < lines.count(); ++index) {
        if (parse_int(year_number_text(lines.at(index))) == year) return true;
    }
    return false;
}

std::string build_period_text(const LineList& lines, SharedState& shared) {
    const std::string_view date = copy_text(lines.at(0), 1, 11);
    if (const auto name = look_up_month(copy_text(date, 4, 3))) shared.current_month_name = *name;
    std::string text = "sinds ";
    text += copy_text(date, 1, 2);
    text += ' ';
    text += shared.current_month_name;
    text += ' ';
    text += copy_text(date, 8, 4);
    return text;
}

void write_year_titles(ChartModel& download, ChartModel& upload, const std::string& period_text) {
    download.clear_titles();
    download.add_title("Download per jaar " + period_text);
    upload.clear_titles();
    upload.add_title("Upload per jaar " + period_text);
}

void start_up_sequence(const LineList& lines, SharedState& shared, StartUpSteps& steps) {
    steps.empty_total_labels();
    steps.fill_year_list(year_list(lines));
    steps.choose_per_year();
    steps.run_statistics();
    steps.refill_months();
    shared.period_text = build_period_text(lines, shared);
    write_year_titles(steps.download_chart(), steps.upload_chart(), shared.period_text);
}

namespace {

// The start-up's steps on plain state: what loglezer-stats and the tests run.
class PlainStartUp final : public StartUpSteps {
public:
    PlainStartUp(const LineList& lines, SharedState& shared, const Separators& seps, UnitMode units,
                 ChartModel& download, ChartModel& upload)
        : lines_(lines), shared_(shared), seps_(seps), units_(units), download_(download), upload_(upload) {}

    StartUpState state;

private:
    void empty_total_labels() override {
        state.captions.total_down.clear();
        state.captions.total_up.clear();
    }
    void fill_year_list(const std::vector<std::string>& years) override {
        state.year_items = years;
        state.year_text = years.empty() ? std::string() : years.back();
    }
    void choose_per_year() override { option_ = PeriodOption::PerYear; }
    void run_statistics() override {
        StatsInput input;
        input.option = option_;
        input.year_items = state.year_items;
        input.year_text = state.year_text;
        input.total_labels_empty = state.captions.total_down.empty() && state.captions.total_up.empty();
        input.units = units_;
        if (auto captions = show_stats(lines_, input, shared_, seps_, download_, upload_)) state.captions = *captions;
    }
    void refill_months() override {
        shared_.current_month_name.clear();
        state.month_items.clear();
        state.month_items = collect_months(lines_, state.year_text, shared_);
    }
    ChartModel& download_chart() override { return download_; }
    ChartModel& upload_chart() override { return upload_; }

    const LineList& lines_;
    SharedState& shared_;
    const Separators& seps_;
    UnitMode units_;
    ChartModel& download_;
    ChartModel& upload_;
    PeriodOption option_ = PeriodOption::None;
};

}  // namespace

StatsInput period_input(const StartUpState& start, const std::string& year_text, std::optional<int> month,
                        UnitMode units) {
    StatsInput input;
    input.option = month ? PeriodOption::PerDay : PeriodOption::PerMonth;
    input.year_items = start.year_items;
    input.year_text = year_text;
    if (month) input.month_text = std::string(dutch_month_name(*month));
    input.total_labels_empty = start.captions.total_down.empty() && start.captions.total_up.empty();
    input.units = units;
    return input;
}

StartUpState run_start_up(const LineList& lines, SharedState& shared, const Separators& seps, UnitMode units,
                          ChartModel& download, ChartModel& upload) {
    PlainStartUp steps(lines, shared, seps, units, download, upload);
    start_up_sequence(lines, shared, steps);
    return std::move(steps.state);
}

}  // namespace loglezer
