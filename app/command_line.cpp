#include "app/command_line.h"

#include <QRegularExpression>
#include <QString>
#include <filesystem>

#include "app/qt_options.h"
#include "chart/latin1.h"
#include "frontend/command_options.h"
#include "frontend/usage_error.h"
#include "log/failure.h"
#include "settings/settings_files.h"
#include "text/dates.h"

namespace loglezer {
namespace {

constexpr const char* kHelp =
    "Usage: loglezer [QT-OPTIONS] [--units U] [--interface NAME] [LOGFILE | --vnstat]\n"
    "       loglezer [LOGFILE] --export FILE [--chart download|upload] [--units U]\n"
    "                [--year Y [--month M]] [--size WxH] [--scale F]\n"
    "                [--format jpeg|png]\n"
    "       loglezer [LOGFILE] --export FILE --allowance [--size WxH] [--scale F]\n"
    "                [--format jpeg|png]\n"
    "Shows a daily internet traffic log as bar charts of download and upload.\n"
    "With --export it opens no window and needs no display: it writes one chart\n"
    "as a picture, as \"Grafiek opslaan\" does, and ends.\n"
    "\n"
    "  LOGFILE          the log to read, instead of the one log.ini in the\n"
    "                   working directory names or the default path; a SQLite\n"
    "                   file is read as a vnStat database\n"
    "  --vnstat         read vnStat's database, in the DatabaseDir of\n"
    "                   ~/.vnstatrc or /etc/vnstat.conf, else /var/lib/vnstat\n"
    "  --interface NAME a vnStat database's interface: its name or alias, or\n"
    "                   NAME+NAME for the sum of several\n"
    "  --units U        binary (the default: a GB is 1024^3 bytes, as the window\n"
    "                   has always counted) or decimal (10^9 bytes) for the GB\n"
    "                   figures of the window and the pictures, over the key\n"
    "                   units of the section [display] in log.ini\n"
    "  --export FILE    write the chart to FILE: JPEG for .jpg, .jpeg, .jpe or\n"
    "                   .jfif, PNG for .png; - writes it to standard output\n"
    "  --chart CHART    download (the default) or upload\n"
    "  --year Y         the months of year Y instead of the years\n"
    "  --month M        with --year, the days of month M: 1-12 or its Dutch or\n"
    "                   English name\n"
    "  --allowance      instead of a chart, the current billing period of the\n"
    "                   allowance that [allowance] in log.ini sets: a bar per day\n"
    "                   up to the log's last line with the total so far, a line\n"
    "                   at the limit and the estimate's line to the period's end\n"
    "  --size WxH       the size in pixels the chart is laid out for, each 100\n"
    "                   to 10000 (1049x249 unless given): a larger size gives\n"
    "                   more room, with the same 11-pixel text\n"
    "  --scale F        draw that layout F times as large, sharp, for screens of\n"
    "                   high density: F from 1 to 4, fractions too (1.5); the\n"
    "                   picture has W*F x H*F pixels, each rounded, halves up\n"
    "  --format FORMAT  jpeg or png; needed when FILE is - or has none of those\n"
    "                   extensions (a device such as /dev/stdout)\n"
    "  -h, --help       print this text and exit\n"
    "  --version        print the program's version and exit\n"
    "\n"
    "QT-OPTIONS are Qt's own, as in every Qt program: -style NAME, -platform\n"
    "NAME, -reverse, -stylesheet FILE, -qwindowtitle TITLE, -qwindowgeometry\n"
    "GEOMETRY, -display DISPLAY and the others Qt reads. The export takes them\n"
    "and ignores them: its picture is always the one the window saves.\n"
    "\n"
    "Exit status: 0 when done; 1 for a usage error or a failure, and when the\n"
    "window finds no log; 2 when --export finds no log.\n"
    "\n"
    "A crontab line that draws the download chart of the years for a web page\n"
    "every night at 00:05, from the log that log.ini in the home directory names\n"
    "(cron's working directory):\n"
    "  5 0 * * * loglezer --export /var/www/html/jaren.png\n";

CommandLine usage_error(const std::string& what) {
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.message = "loglezer: " + what + "\n";
    line.exit_code = 1;
    return line;
}

CommandLine printing(CommandLine::Action action, std::string message) {
    CommandLine line;
    line.action = action;
    line.message = std::move(message);
    return line;
}

const std::vector<KnownOption>& known_options() {
    static const std::vector<KnownOption> kKnownOptions = {
        {"--help", false, "-h"}, {"--version"},     {"--units", true},     {"--export", true}, {"--chart", true},
        {"--year", true},        {"--month", true}, {"--size", true},      {"--scale", true},  {"--format", true},
        {"--allowance"},         {"--vnstat"},      {"--interface", true},
    };
    return kKnownOptions;
}

// The options that only the export takes, in the order their checks run.
constexpr std::string_view kExportOptions[] = {"--chart", "--year",   "--month",    "--size",
                                               "--scale", "--format", "--allowance"};

// None of the export's options without --export, a month only in a year,
// and the allowance's picture without a chart's view.
void check_export_options(const ParsedOptions& parsed) {
    for (const std::string_view name : kExportOptions) {
        if (parsed.has(name) && !parsed.has("--export")) throw UsageError(std::string(name) + " needs --export");
    }
    if (parsed.has("--month") && !parsed.has("--year")) throw UsageError("--month needs --year");
    for (const std::string_view view : {"--chart", "--year"}) {
        if (parsed.has("--allowance") && parsed.has(view)) {
            throw UsageError("--allowance cannot go with " + std::string(view));
        }
    }
}

ExportRequest::Format format_named(const std::string& name) {
    if (name == "jpeg") return ExportRequest::Format::Jpeg;
    if (name == "png") return ExportRequest::Format::Png;
    throw UsageError("--format: " + quoted(name, kWholeText) + " is not jpeg or png");
}

// The extension of a file name in lower case ("png" for "a.PNG"), or "".
std::string extension_of(const std::string& file) {
    const std::string name = std::filesystem::path(file).filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return extension;
}

// The picture's type: the file's extension, in any letter case. --format
// is needed for standard output and for a name without a picture's
// extension (a device such as /dev/stdout), and else must agree.
ExportRequest::Format read_format(const std::string& file, const std::optional<std::string>& asked) {
    if (file == "-") {
        if (!asked) throw UsageError("--export -: writing to standard output needs --format jpeg or --format png");
        return format_named(*asked);
    }
    const std::string suffix = extension_of(file);
    ExportRequest::Format format = ExportRequest::Format::Jpeg;
    if (suffix == "png") {
        format = ExportRequest::Format::Png;
    } else if (suffix != "jpg" && suffix != "jpeg" && suffix != "jpe" && suffix != "jfif") {
        if (asked) return format_named(*asked);
        throw UsageError("--export: " + quoted(file, kWholeText) + " does not end in .jpg, .jpeg, .jpe, .jfif or .png");
    }
    if (asked && format_named(*asked) != format) {
        throw UsageError("--format: " + quoted(*asked, kWholeText) + " does not match " + quoted(file, kWholeText));
    }
    return format;
}

void read_size(const std::string& text, ExportRequest& request) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{3,5})[xX]([0-9]{3,5})$"));
    const QRegularExpressionMatch match = pattern.match(from_log_text(text));
    const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
    const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
    const auto fits = [](int pixels) { return pixels >= 100 && pixels <= 10000; };
    if (!fits(width) || !fits(height)) {
        throw UsageError("--size: " + quoted(text, kWholeText) + " is not WIDTHxHEIGHT, each from 100 to 10000");
    }
    request.width = width;
    request.height = height;
}

// A decimal number from 1 to 4 with at most six decimals, written with a
// point whatever the locale: the picture's size is then exact.
double read_scale(const std::string& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,6}(\\.[0-9]{1,6})?$"));
    const QString decoded = from_log_text(text);
    const double scale = pattern.match(decoded).hasMatch() ? decoded.toDouble() : 0.0;
    if (!(scale >= 1.0 && scale <= 4.0)) {
        throw UsageError("--scale: " + quoted(text, kWholeText) +
                         " is not a number from 1 to 4 (at most six decimals)");
    }
    return scale;
}

ExportRequest::Chart read_chart(const std::string& chart) {
    if (chart == "upload") return ExportRequest::Chart::Upload;
    if (chart == "download") return ExportRequest::Chart::Download;
    throw UsageError("--chart: " + quoted(chart, kWholeText) + " is not download or upload");
}

ExportRequest read_export(const ParsedOptions& parsed) {
    ExportRequest request;
    request.file = *parsed.value("--export");
    request.format = read_format(request.file, parsed.value("--format"));
    if (const auto chart = parsed.value("--chart")) request.chart = read_chart(*chart);
    request.year = parsed.value("--year");
    if (const auto month = parsed.value("--month")) {
        request.month = month_from_argument(*month);
        if (!request.month) {
            throw UsageError("--month: " + quoted(*month, kWholeText) + " is not a month (1-12 or a month name)");
        }
    }
    request.allowance = parsed.has("--allowance");
    if (const auto size = parsed.value("--size")) read_size(*size, request);
    if (const auto scale = parsed.value("--scale")) request.scale = read_scale(*scale);
    return request;
}

CommandLine read_parsed(const ParsedOptions& parsed) {
    check_export_options(parsed);
    if (parsed.arguments().size() > 1) throw UsageError("one log file at most");
    CommandLine line;
    if (!parsed.arguments().empty()) line.log_file = parsed.arguments().front();
    line.vnstat = parsed.has("--vnstat");
    if (line.vnstat && line.log_file) throw UsageError("--vnstat takes no log file");
    line.interface = parsed.value("--interface");
    if (const auto units = parsed.value("--units")) {
        try {
            line.units = parse_units(*units, "--units");
        } catch (const Failure& failure) {
            throw UsageError(failure.what());
        }
    }
    if (parsed.has("--export")) {
        line.action = CommandLine::Action::Export;
        line.export_request = read_export(parsed);
    }
    return line;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
    try {
        const WithoutQtOptions own = take_qt_options(args);
        const ParsedOptions parsed = parse_options(
            std::vector<std::string>(own.rest.begin() + (own.rest.empty() ? 0 : 1), own.rest.end()), known_options());
        if (parsed.has("--help")) return printing(CommandLine::Action::Help, kHelp);
        if (parsed.has("--version")) return printing(CommandLine::Action::Version, "loglezer " LOGLEZER_VERSION "\n");
        CommandLine line = read_parsed(parsed);
        line.display_named = own.display_named;
        return line;
    } catch (const UsageError& e) {
        return usage_error(e.what());
    }
}

}  // namespace loglezer
