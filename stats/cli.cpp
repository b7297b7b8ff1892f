#include "stats/cli.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/log_file.h"
#include "log/number_text.h"
#include "stats/calendar.h"
#include "stats/cli_text.h"
#include "stats/number_format.h"
#include "stats/startup.h"
#include "stats/value_format.h"

namespace loglezer::cli {
namespace {

// A chart's title lines as one text, each line converted from log bytes by
// `convert`.
std::string title_of(const ChartModel& chart, std::string (*convert)(std::string_view)) {
    std::string text;
    for (const auto& line : chart.titles()) {
        if (!text.empty()) text += '\n';
        text += convert(line);
    }
    return text;
}

std::string label_heading(const std::string& view) {
    if (view == "jaar") return "Jaar";
    if (view == "maand") return "Maand";
    return "Dag";
}

// The bars of a view: both charts hold one point per bar, under one label.
std::size_t bar_count(const View& view) { return std::max(view.download.points().size(), view.upload.points().size()); }
std::string bar_label(const View& view, std::size_t i) {
    const auto& down = view.download.points();
    return utf8_from_latin1(i < down.size() ? down[i].label : view.upload.points()[i].label);
}

std::string take_value(const std::vector<std::string>& args, std::size_t& i, const std::string& name) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        return arg.substr(name.size() + 1);
    }
    if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
    return args[++i];
}

bool is_option(const std::string& arg, const std::string& name) {
    return arg == name || (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0);
}

bool all_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The ISO date of a bar: the year of a per-year bar, the month of a
// per-month bar and the day of a per-day bar, read from its label.
std::optional<std::string> bar_date(const View& view, std::size_t i) {
    const auto& down = view.download.points();
    const std::string& label = i < down.size() ? down[i].label : view.upload.points()[i].label;
    if (view.name == "jaar") {
        if (label.size() == 4 && all_digits(label)) return label;
    } else if (view.name == "maand") {
        if (const auto month = month_from_argument(label)) return iso_month(view.year, *month);
    } else if (label.size() == 2 && all_digits(label)) {
        return iso_month(view.year, view.month) + "-" + label;
    }
    return std::nullopt;
}

long long top_count(const std::string& text) {
    if (text.empty() || text.size() > 9 || !all_digits(text) || std::stoll(text) == 0) {
        throw UsageError("--top: '" + text + "' is not a number of days (1 to 999999999)");
    }
    return std::stoll(text);
}

int month_number(const std::string& text) {
    if (const auto month = month_from_argument(text)) return *month;
    throw UsageError("--month: '" + text + "' is not a month (1-12 or a month name)");
}

// The options that only choose the output form, before their combination
// is checked.
struct FormFlags {
    bool csv = false;
    bool json = false;
};

// Reads the option at args[i], and its value, which may move i on.
void read_option(const std::vector<std::string>& args, std::size_t& i, Options& options, FormFlags& form) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
        options.help = true;
    } else if (arg == "--version") {
        options.version = true;
    } else if (arg == "--csv") {
        form.csv = true;
    } else if (arg == "--json") {
        form.json = true;
    } else if (arg == "--check") {
        options.check = true;
    } else if (is_option(arg, "--top")) {
        options.top = top_count(take_value(args, i, "--top"));
    } else if (is_option(arg, "--year")) {
        options.year = take_value(args, i, "--year");
    } else if (is_option(arg, "--month")) {
        options.month = month_number(take_value(args, i, "--month"));
    } else if (is_option(arg, "--log")) {
        options.log = take_value(args, i, "--log");
    } else if (arg.size() > 1 && arg[0] == '-') {
        throw UsageError("unknown option '" + arg + "' (see --help)");
    } else {
        throw UsageError("unexpected argument '" + arg + "' (see --help)");
    }
}

void check_combination(const Options& options, const FormFlags& form) {
    if (form.csv && form.json) throw UsageError("--csv and --json exclude each other");
    if (options.month && !options.year) throw UsageError("--month needs --year");
    if (options.check && (options.year || options.top || form.csv)) {
        throw UsageError("--check takes no --year, --month, --top or --csv");
    }
    if (options.top && options.month) throw UsageError("--top takes no --month");
}

}  // namespace

Options parse_arguments(const std::vector<std::string>& args) {
    Options options;
    FormFlags form;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") {
            // No argument after it is an option; the command takes no other.
            if (i + 1 < args.size()) throw UsageError("unexpected argument '" + args[i + 1] + "' (see --help)");
            break;
        }
        read_option(args, i, options, form);
    }
    if (options.help || options.version) return options;
    check_combination(options, form);
    options.format = form.csv ? Format::Csv : form.json ? Format::Json : Format::Table;
    return options;
}

std::string render_table(const View& view, const Separators& seps) {
    std::ostringstream out;
    out << title_of(view.download, shown_text) << '\n' << title_of(view.upload, shown_text) << "\n\n";

    struct Row {
        std::string label, download, upload;
    };
    std::vector<Row> rows;
    rows.push_back({label_heading(view.name), "Download", "Upload"});
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    for (std::size_t i = 0; i < bar_count(view); ++i) {
        Row row;
        row.label = terminal_text(bar_label(view, i));
        if (i < down.size()) row.download = format_value(down[i].value, view.download.value_format(), seps);
        if (i < up.size()) row.upload = format_value(up[i].value, view.upload.value_format(), seps);
        rows.push_back(std::move(row));
    }
    std::size_t w_label = 0, w_down = 0, w_up = 0;
    for (const auto& row : rows) {
        w_label = std::max(w_label, display_width(row.label));
        w_down = std::max(w_down, display_width(row.download));
        w_up = std::max(w_up, display_width(row.upload));
    }
    for (const auto& row : rows) {
        out << pad_right(row.label, w_label) << "  " << pad_left(row.download, w_down) << "  "
            << pad_left(row.upload, w_up) << '\n';
    }

    if (view.captions) {
        const auto& c = *view.captions;
        const std::size_t w = std::max(display_width(c.total_down), display_width(c.record_down));
        out << '\n';
        out << "Totaal sinds   Download: " << pad_right(c.total_down, w) << "  Upload: " << c.total_up << '\n';
        out << "Records sinds  Download: " << pad_right(c.record_down, w) << "  Upload: " << c.record_up << '\n';
    }
    return out.str();
}

std::string render_csv(const View& view) {
    std::string out = "date,label,download_gb,upload_gb,download_bytes,upload_bytes\n";
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    for (std::size_t i = 0; i < bar_count(view); ++i) {
        out += bar_date(view, i).value_or("");
        out += ',';
        out += csv_field(terminal_text(bar_label(view, i)));
        out += ',';
        if (i < down.size()) out += general_number_text(down[i].value, '.');
        out += ',';
        if (i < up.size()) out += general_number_text(up[i].value, '.');
        out += ',';
        if (i < down.size()) out += bytes_text(down[i].bytes);
        out += ',';
        if (i < up.size()) out += bytes_text(up[i].bytes);
        out += '\n';
    }
    return out;
}

namespace {

nlohmann::ordered_json json_text(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json();
}

nlohmann::ordered_json json_bar(const View& view, std::size_t i) {
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    nlohmann::ordered_json bar;
    bool overflow = false;
    bar["label"] = bar_label(view, i);
    bar["download"] = nullptr;
    bar["upload"] = nullptr;
    if (i < down.size()) overflow |= set_value(bar, "download", down[i].value);
    if (i < up.size()) overflow |= set_value(bar, "upload", up[i].value);
    bar["date"] = json_text(bar_date(view, i));
    bar["download_bytes"] = nullptr;
    bar["upload_bytes"] = nullptr;
    if (i < down.size()) overflow |= set_bytes(bar, "download_bytes", down[i].bytes);
    if (i < up.size()) overflow |= set_bytes(bar, "upload_bytes", up[i].bytes);
    mark_overflow(bar, overflow);
    return bar;
}

// The per-year view's labels and, beside them, their exact figures.
void add_year_figures(nlohmann::ordered_json& doc, const LabelCaptions& c, const std::optional<ExactFigures>& exact) {
    auto& totals =
        doc["totals"] = {{"download", utf8_from_latin1(c.total_down)}, {"upload", utf8_from_latin1(c.total_up)}};
    auto& records =
        doc["records"] = {{"download", utf8_from_latin1(c.record_down)}, {"upload", utf8_from_latin1(c.record_up)}};
    if (!exact) return;
    // One field after the other: the object keeps the order they are set in.
    bool overflow = set_bytes(totals, "download_bytes", exact->total_download);
    overflow |= set_bytes(totals, "upload_bytes", exact->total_upload);
    mark_overflow(totals, overflow);
    bool records_overflow = set_bytes(records, "download_bytes", exact->record_download);
    records_overflow |= set_bytes(records, "upload_bytes", exact->record_upload);
    records["download_date"] = json_text(exact->record_download_date);
    records["upload_date"] = json_text(exact->record_upload_date);
    mark_overflow(records, records_overflow);
}

// The bars as dump(2) writes them inside the document: one at a time, each
// four spaces deeper. A document of thousands of bars is not held whole:
// taking its memory cost more than writing it.
void append_bars(std::string& out, const View& view) {
    const std::size_t count = bar_count(view);
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        const std::string bar = json_bar(view, i).dump(2);
        if (i == 0) out.reserve(out.size() + count * (bar.size() + 64) + 4096);
        out += i == 0 ? "\n    " : ",\n    ";
        for (const char c : bar) {
            out += c;
            if (c == '\n') out += "    ";
        }
    }
    out += count == 0 ? "]" : "\n  ]";
}

}  // namespace

std::string render_json(const View& view) {
    nlohmann::ordered_json doc;
    doc["format"] = 1;
    doc["view"] = view.name;
    doc["titles"] = {title_of(view.download, utf8_from_latin1), title_of(view.upload, utf8_from_latin1)};
    doc["bars"] = nlohmann::ordered_json::array();
    if (view.captions) add_year_figures(doc, *view.captions, view.exact);
    // The empty list of bars is the only "[]" after its key: no string of
    // the document holds an unescaped quote.
    const std::string outline = doc.dump(2);
    const std::string bars_key = "\"bars\": ";
    const std::size_t bars = outline.find(bars_key + "[]") + bars_key.size();
    std::string out = outline.substr(0, bars);
    append_bars(out, view);
    out.append(outline, bars + 2);
    out += '\n';
    return out;
}

namespace {

// A line's date as a message names it: "14 June 2022", or the date field
// quoted when it is no day of the calendar.
std::string date_in_message(std::string_view line) {
    if (const auto date = read_log_date(line)) return english_date(*date);
    return "'" + std::string(up_to_comma(line)) + "'";
}

// Fails as a command line that asks for a year or month the log has no line
// of; `what` is "2019" or "March 2019".
[[noreturn]] void fail_no_lines(const LineList& lines, const std::string& what) {
    throw UsageError("the log has no lines of " + what + " (it runs from " + date_in_message(lines.at(0)) + " to " +
                     date_in_message(lines.at(lines.count() - 1)) + ")");
}

// Whether the log has a line of the year or month a view asks for, found as
// the view searches for it. Where the view would fail before finding one (a
// year text that is no number), it is left to fail with its own message.
bool has_lines_of(const LineList& lines, int year, int month) {
    // The per-day view's key, "Mar-2019": its month's abbreviation and year.
    const std::string key =
        month == 0 ? std::string() : std::string(english_month_name(month).substr(0, 3)) + "-" + std::to_string(year);
    for (long long index = 0; index < lines.count(); ++index) {
        const std::string_view line = lines.at(index);
        if (month != 0) {
            if (month_year_text(line) == key) return true;
            continue;
        }
        const std::optional<int> line_year = parse_int(year_text(line));
        if (!line_year || *line_year == year) return true;
    }
    return false;
}

std::string year_and_month(int year, int month) {
    return month == 0 ? std::to_string(year) : std::string(english_month_name(month)) + " " + std::to_string(year);
}

std::string render(const View& view, Format format, const Separators& seps) {
    switch (format) {
        case Format::Csv:
            return render_csv(view);
        case Format::Json:
            return render_json(view);
        case Format::Table:
            break;
    }
    return render_table(view, seps);
}

// The per-year view's exact figures, from the shared values the run left.
ExactFigures exact_figures(const LineList& lines, const SharedState& shared) {
    const auto day_of = [&lines](long long index) -> std::optional<std::string> {
        if (index < 0 || index >= lines.count()) return std::nullopt;
        const auto date = read_log_date(lines.at(index));
        return date ? std::optional<std::string>(iso_date(*date)) : std::nullopt;
    };
    return {shared.total_download,
            shared.total_upload,
            shared.record_download_bytes,
            shared.record_upload_bytes,
            day_of(shared.record_download_line),
            day_of(shared.record_upload_line)};
}

// The asked view of a loaded log in the asked format.
std::string view_output(const Options& options, const LineList& lines, const Separators& seps) {
    SharedState shared;
    ChartModel download("Download");
    ChartModel upload("Upload");
    const StartUpState start = run_start_up(lines, shared, seps, download, upload);

    View view{"jaar", download, upload, start.captions, exact_figures(lines, shared)};
    if (options.year) {
        view.month = options.month.value_or(0);
        if (const auto year = parse_int(*options.year)) {
            view.year = *year;
            if (!has_lines_of(lines, view.year, view.month)) fail_no_lines(lines, year_and_month(*year, view.month));
        }
        show_stats(lines, period_input(start, *options.year, options.month), shared, seps, download, upload);
        view.name = options.month ? "dag" : "maand";
        view.captions.reset();
        view.exact.reset();
    }
    return render(view, options.format, seps);
}

// The --top view.
std::string top_output(const Options& options, const LineList& lines, const Separators& seps) {
    lines.at(0);  // an empty log fails as every view does
    std::optional<int> year;
    if (options.year) {
        year = text_to_int(*options.year);
        const auto of_year = [&](long long i) { return parse_int(year_number_text(lines.at(i))) == year; };
        long long index = 0;
        while (index < lines.count() && !of_year(index)) ++index;
        if (index == lines.count()) fail_no_lines(lines, std::to_string(*year));
    }
    const TopDays top = top_days(lines, *options.top, year, seps);
    switch (options.format) {
        case Format::Csv:
            return render_top_csv(top);
        case Format::Json:
            return render_top_json(top, year);
        case Format::Table:
            break;
    }
    return render_top_table(top, year, seps);
}

// --check: the text form writes each problem as it is found, the JSON form
// the first ones and the count when the check is done.
int check_run(const LineList& lines, const std::string& log_name, Format format, const Separators& seps, Output& out) {
    CheckCounts counts;
    if (format == Format::Json) {
        CheckJson json;
        counts = check_log(lines, seps, [&json](const CheckProblem& problem) { json.add(problem); });
        out.write(json.render(counts));
    } else {
        const std::string file = message_text(log_name);
        counts = check_log(
            lines, seps, [&out, &file](const CheckProblem& problem) { out.write(check_problem_line(problem, file)); });
        out.write(check_count_line(counts));
    }
    return counts.problems == 0 ? 0 : 1;
}

// A failure's message; one on a log line names the file and the line first,
// as compilers do.
void report_failure(std::ostream& err, const Failure& failure, const std::string& log_name) {
    err << "loglezer-stats: ";
    if (const auto line = failure.line()) err << message_text(log_name) << ':' << *line + 1 << ": ";
    err << message_text(failure.what()) << '\n';
}

// Where the environment names a locale the C library does not have, the
// amounts are read with C's "." though the user may expect the locale's.
void warn_if_not_installed(const NumericLocale& locale, std::ostream& err) {
    if (locale.installed) return;
    err << "loglezer-stats: the locale " << message_text(locale.name) << " is not installed; reading amounts with \""
        << locale.separators.decimal << "\" as the decimal point\n";
}

// The run of parsed options that ask for the log: the status, with the
// output written to `out`.
int run_on_log(const Options& options, Output& out, std::ostream& err, const std::filesystem::path& working_dir,
               const Separators& seps) {
    // The log's name as given or as log.ini writes it, for the messages.
    const std::string log_name = options.log ? *options.log : log_path(working_dir);
    try {
        if (!log_exists(working_dir, log_name)) {
            err << "loglezer-stats: " << kLogMissingMessage << " ("
                << message_text(missing_log_path(working_dir, options.log)) << ")\n";
            return 2;
        }
        const LineList lines = load_log(working_dir, log_name);
        if (options.check) return check_run(lines, log_name, options.format, seps, out);
        out.write(options.top ? top_output(options, lines, seps) : view_output(options, lines, seps));
        return 0;
    } catch (const UsageError& e) {
        err << "loglezer-stats: " << message_text(e.what()) << '\n';
        return 1;
    } catch (const Failure& failure) {
        report_failure(err, failure, log_name);
        return 1;
    }
}

}  // namespace

int run(const std::vector<std::string>& args, Output& out, std::ostream& err, const std::filesystem::path& working_dir,
        const NumericLocale& locale) {
    Options options;
    try {
        options = parse_arguments(args);
    } catch (const UsageError& e) {
        err << "loglezer-stats: " << message_text(e.what()) << '\n';
        return 1;
    }
    try {
        int status = 0;
        if (options.help) {
            out.write(kUsage);
        } else if (options.version) {
            out.write(std::string("loglezer-stats ") + LOGLEZER_VERSION + "\n");
        } else {
            warn_if_not_installed(locale, err);
            status = run_on_log(options, out, err, working_dir, locale.separators);
        }
        out.flush();
        return status;
    } catch (const OutputError& e) {
        err << "loglezer-stats: cannot write the output: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace loglezer::cli
