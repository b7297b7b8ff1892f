#include "stats/cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "log/failure.h"
#include "log/log_file.h"
#include "log/month_names.h"
#include "stats/number_format.h"
#include "stats/startup.h"
#include "stats/value_format.h"

namespace loglezer::cli {
namespace {

// Log bytes are shown as Latin-1; the output is UTF-8.
std::string utf8_from_latin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// The length of the UTF-8 character at the front of `text`; 0 when the bytes
// there are no UTF-8 (a stray continuation byte, an overlong form, a surrogate,
// beyond U+10FFFF or cut short).
std::size_t utf8_length(std::string_view text) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
    }
    return length;
}

bool is_utf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = utf8_length(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

// A log text as the table and CSV show it.
std::string shown_text(std::string_view log_text) { return terminal_text(utf8_from_latin1(log_text)); }

// Characters of a UTF-8 text, for lining up columns.
std::size_t display_width(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string pad_left(const std::string& text, std::size_t width) {
    const std::size_t w = display_width(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

std::string pad_right(const std::string& text, std::size_t width) {
    const std::size_t w = display_width(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

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

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// A chart value as a JSON number, at the 15 significant digits a mark is
// written with: 1.40 GB is 1.4, not the 1.4000000000000001 that the rounding
// leaves in the double.
nlohmann::ordered_json json_number(double value) {
    if (!std::isfinite(value)) return nullptr;  // JSON has no infinity
    const std::string text = general_number_text(value, '.');
    double shown = 0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
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

}  // namespace

Options parse_arguments(const std::vector<std::string>& args) {
    Options options;
    bool csv = false;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--csv") {
            csv = true;
        } else if (arg == "--json") {
            json = true;
        } else if (is_option(arg, "--year")) {
            options.year = take_value(args, i, "--year");
        } else if (is_option(arg, "--month")) {
            options.month = take_value(args, i, "--month");
        } else if (is_option(arg, "--log")) {
            options.log = take_value(args, i, "--log");
        } else {
            throw UsageError("unknown argument: " + arg);
        }
    }
    if (options.help || options.version) return options;
    if (csv && json) throw UsageError("--csv and --json exclude each other");
    if (options.month && !options.year) throw UsageError("--month needs --year");
    options.format = csv ? Format::Csv : json ? Format::Json : Format::Table;
    return options;
}

std::string terminal_text(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (byte < 0x20 || byte == 0x7F || c1) {
            out += '?';
            if (c1) ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::string message_text(std::string_view message) {
    return terminal_text(is_utf8(message) ? std::string(message) : utf8_from_latin1(message));
}

std::string month_text_for(const std::string& month) {
    const bool digits = !month.empty() && month.size() <= 2 &&
                        std::all_of(month.begin(), month.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        const int number = std::stoi(month);
        if (number >= 1 && number <= 12) return std::string(dutch_month_name(number));
    }
    return month;
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
    std::string out = "label,download,upload\n";
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    for (std::size_t i = 0; i < bar_count(view); ++i) {
        out += csv_field(terminal_text(bar_label(view, i)));
        out += ',';
        if (i < down.size()) out += general_number_text(down[i].value, '.');
        out += ',';
        if (i < up.size()) out += general_number_text(up[i].value, '.');
        out += '\n';
    }
    return out;
}

std::string render_json(const View& view) {
    nlohmann::ordered_json doc;
    doc["view"] = view.name;
    doc["titles"] = {title_of(view.download, utf8_from_latin1), title_of(view.upload, utf8_from_latin1)};
    doc["bars"] = nlohmann::ordered_json::array();
    const auto& down = view.download.points();
    const auto& up = view.upload.points();
    for (std::size_t i = 0; i < bar_count(view); ++i) {
        nlohmann::ordered_json bar;
        bar["label"] = bar_label(view, i);
        bar["download"] = i < down.size() ? json_number(down[i].value) : nlohmann::ordered_json();
        bar["upload"] = i < up.size() ? json_number(up[i].value) : nlohmann::ordered_json();
        doc["bars"].push_back(std::move(bar));
    }
    if (view.captions) {
        const auto& c = *view.captions;
        doc["totals"] = {{"download", utf8_from_latin1(c.total_down)}, {"upload", utf8_from_latin1(c.total_up)}};
        doc["records"] = {{"download", utf8_from_latin1(c.record_down)}, {"upload", utf8_from_latin1(c.record_up)}};
    }
    return doc.dump(2) + "\n";
}

namespace {

// The asked view of a loaded log in the asked format.
std::string view_output(const Options& options, const LineList& lines, const Separators& seps) {
    SharedState shared;
    ChartModel download("Download");
    ChartModel upload("Upload");
    const StartUpState start = run_start_up(lines, shared, seps, download, upload);

    View view{"jaar", download, upload, start.captions};
    if (options.year) {
        StatsInput input;
        input.option = options.month ? kPerDay : kPerMonth;
        input.year_items = start.year_items;
        input.year_text = *options.year;
        input.month_text = options.month ? month_text_for(*options.month) : std::string();
        input.total_labels_empty = false;
        show_stats(lines, input, shared, seps, download, upload);
        view.name = options.month ? "dag" : "maand";
        view.captions.reset();
    }

    switch (options.format) {
        case Format::Csv:
            return render_csv(view);
        case Format::Json:
            return render_json(view);
        case Format::Table:
            break;
    }
    return render_table(view, seps);
}

}  // namespace

Outcome run(const std::vector<std::string>& args, std::ostream& err, const std::filesystem::path& working_dir,
            const Separators& seps) {
    Options options;
    try {
        options = parse_arguments(args);
    } catch (const UsageError& e) {
        err << "loglezer-stats: " << message_text(e.what()) << "\n" << kUsage;
        return {1, ""};
    }
    if (options.help) return {0, kUsage};
    if (options.version) return {0, std::string("loglezer-stats ") + LOGLEZER_VERSION + "\n"};

    try {
        std::optional<LineList> lines;
        if (options.log) {
            if (log_exists(working_dir, *options.log)) lines = load_log(working_dir, *options.log);
        } else {
            lines = locate_and_load(working_dir);
        }
        if (!lines) {
            err << kLogMissingMessage << '\n';
            return {2, ""};
        }
        return {0, view_output(options, *lines, seps)};
    } catch (const Failure& failure) {
        err << message_text(failure.what()) << '\n';
        return {1, ""};
    }
}

}  // namespace loglezer::cli
