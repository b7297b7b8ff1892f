#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "app/qt_options.h"
#include "log/failure.h"
#include "stats/calendar.h"
#include "stats/usage_error.h"

namespace loglezer {
namespace {

constexpr const char* kHelp =
    "Usage: loglezer [QT-OPTIONS] [LOGFILE]\n"
    "       loglezer [LOGFILE] --export FILE [--chart download|upload]\n"
    "                [--year Y [--month M]] [--size WxH] [--scale F]\n"
    "                [--format jpeg|png]\n"
    "       loglezer [LOGFILE] --export FILE --allowance [--size WxH] [--scale F]\n"
    "                [--format jpeg|png]\n"
    "Shows a daily internet traffic log as bar charts of download and upload.\n"
    "With --export it opens no window and needs no display: it writes one chart\n"
    "as a picture, as \"Grafiek opslaan\" does, and ends.\n"
    "\n"
    "  LOGFILE          the log to read, instead of the one log.ini in the\n"
    "                   working directory names or the default path\n"
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
    line.message = "loglezer: " + what + "\nTry 'loglezer --help' for more information.\n";
    line.exit_code = 1;
    return line;
}

CommandLine printing(CommandLine::Action action, std::string message) {
    CommandLine line;
    line.action = action;
    line.message = std::move(message);
    return line;
}

// The arguments as they were given and as Qt decoded them.
struct Arguments {
    const std::vector<std::string>& raw;
    QStringList decoded;
};

// The argument as it was given: a file name need not be valid in the
// locale's encoding, so the bytes are taken from the arguments themselves.
std::string raw_argument(const Arguments& args, const QString& wanted) {
    for (qsizetype i = 1; i < args.decoded.size(); ++i) {
        if (args.decoded[i] == wanted) return args.raw[static_cast<std::size_t>(i)];
    }
    return wanted.toLocal8Bit().toStdString();
}

// An option's value as it was given, after "--name" or in "--name=value".
std::string raw_value(const Arguments& args, const QString& name, const QString& value) {
    const QString option = QStringLiteral("--") + name;
    const QString joined = option + QLatin1Char('=');
    for (qsizetype i = 1; i < args.decoded.size(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (args.decoded[i] == option && i + 1 < args.decoded.size() && args.decoded[i + 1] == value) {
            return args.raw[at + 1];
        }
        if (args.decoded[i] == joined + value) return args.raw[at].substr(static_cast<std::size_t>(joined.size()));
    }
    return value.toLocal8Bit().toStdString();
}

// The options of the export, in the order their checks run.
struct ExportOptions {
    QCommandLineOption file{QStringLiteral("export"), QString(), QStringLiteral("FILE")};
    QCommandLineOption chart{QStringLiteral("chart"), QString(), QStringLiteral("CHART")};
    QCommandLineOption year{QStringLiteral("year"), QString(), QStringLiteral("Y")};
    QCommandLineOption month{QStringLiteral("month"), QString(), QStringLiteral("M")};
    QCommandLineOption size{QStringLiteral("size"), QString(), QStringLiteral("WxH")};
    QCommandLineOption scale{QStringLiteral("scale"), QString(), QStringLiteral("F")};
    QCommandLineOption format{QStringLiteral("format"), QString(), QStringLiteral("FORMAT")};
    QCommandLineOption allowance{QStringLiteral("allowance")};

    std::vector<const QCommandLineOption*> all() const {
        return {&file, &chart, &year, &month, &size, &scale, &format, &allowance};
    }
};

// Each export option at most once, none without --export, a month only in
// a year, and the allowance's picture without a chart's view.
void check_export_options(const QCommandLineParser& parser, const ExportOptions& options) {
    for (const QCommandLineOption* option : options.all()) {
        const std::string name = "--" + option->names().front().toStdString();
        if (parser.optionNames().count(option->names().front()) > 1)
            throw UsageError(name + " is given more than once");
        if (parser.isSet(*option) && !parser.isSet(options.file)) throw UsageError(name + " needs --export");
    }
    if (parser.isSet(options.month) && !parser.isSet(options.year)) throw UsageError("--month needs --year");
    for (const QCommandLineOption* view : {&options.chart, &options.year}) {
        if (parser.isSet(options.allowance) && parser.isSet(*view)) {
            throw UsageError("--allowance cannot go with --" + view->names().front().toStdString());
        }
    }
}

ExportRequest::Format format_named(const QString& name) {
    if (name == QLatin1String("jpeg")) return ExportRequest::Format::Jpeg;
    if (name == QLatin1String("png")) return ExportRequest::Format::Png;
    throw UsageError("--format: " + quoted(name.toStdString(), kWholeText) + " is not jpeg or png");
}

// The picture's type: the file's extension, in any letter case. --format
// is needed for standard output and for a name without a picture's
// extension (a device such as /dev/stdout), and else must agree.
ExportRequest::Format read_format(const QCommandLineParser& parser, const ExportOptions& options) {
    const QString file = parser.value(options.file);
    const bool asked = parser.isSet(options.format);
    if (file == QLatin1String("-")) {
        if (!asked) throw UsageError("--export -: writing to standard output needs --format jpeg or --format png");
        return format_named(parser.value(options.format));
    }
    const QString suffix = QFileInfo(file).suffix().toLower();
    ExportRequest::Format format = ExportRequest::Format::Jpeg;
    if (suffix == QLatin1String("png")) {
        format = ExportRequest::Format::Png;
    } else if (!QStringList{"jpg", "jpeg", "jpe", "jfif"}.contains(suffix)) {
        if (asked) return format_named(parser.value(options.format));
        throw UsageError("--export: " + quoted(file.toStdString(), kWholeText) +
                         " does not end in .jpg, .jpeg, .jpe, .jfif or .png");
    }
    if (asked && format_named(parser.value(options.format)) != format) {
        throw UsageError("--format: " + quoted(parser.value(options.format).toStdString(), kWholeText) +
                         " does not match " + quoted(file.toStdString(), kWholeText));
    }
    return format;
}

void read_size(const QString& text, ExportRequest& request) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{3,5})[xX]([0-9]{3,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
    const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
    const auto fits = [](int pixels) { return pixels >= 100 && pixels <= 10000; };
    if (!fits(width) || !fits(height)) {
        throw UsageError("--size: " + quoted(text.toStdString(), kWholeText) +
                         " is not WIDTHxHEIGHT, each from 100 to 10000");
    }
    request.width = width;
    request.height = height;
}

// A decimal number from 1 to 4 with at most six decimals, written with a
// point whatever the locale: the picture's size is then exact.
double read_scale(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,6}(\\.[0-9]{1,6})?$"));
    const double scale = pattern.match(text).hasMatch() ? text.toDouble() : 0.0;
    if (!(scale >= 1.0 && scale <= 4.0)) {
        throw UsageError("--scale: " + quoted(text.toStdString(), kWholeText) +
                         " is not a number from 1 to 4 (at most six decimals)");
    }
    return scale;
}

ExportRequest read_export(const QCommandLineParser& parser, const ExportOptions& options, const Arguments& args) {
    check_export_options(parser, options);
    ExportRequest request;
    request.file = raw_value(args, QStringLiteral("export"), parser.value(options.file));
    request.format = read_format(parser, options);
    if (parser.isSet(options.chart)) {
        const QString chart = parser.value(options.chart);
        if (chart == QLatin1String("upload")) {
            request.chart = ExportRequest::Chart::Upload;
        } else if (chart != QLatin1String("download")) {
            throw UsageError("--chart: " + quoted(chart.toStdString(), kWholeText) + " is not download or upload");
        }
    }
    if (parser.isSet(options.year)) request.year = raw_value(args, QStringLiteral("year"), parser.value(options.year));
    if (parser.isSet(options.month)) {
        const QString month = parser.value(options.month);
        request.month = month_from_argument(raw_value(args, QStringLiteral("month"), month));
        if (!request.month)
            throw UsageError("--month: " + quoted(month.toStdString(), kWholeText) +
                             " is not a month (1-12 or a month name)");
    }
    request.allowance = parser.isSet(options.allowance);
    if (parser.isSet(options.size)) read_size(parser.value(options.size), request);
    if (parser.isSet(options.scale)) request.scale = read_scale(parser.value(options.scale));
    return request;
}

CommandLine read_parsed(const QCommandLineParser& parser, const ExportOptions& options, const Arguments& args) {
    const QStringList logs = parser.positionalArguments();
    if (logs.size() > 1) throw UsageError("one log file at most");
    CommandLine line;
    if (!logs.isEmpty()) line.log_file = raw_argument(args, logs.front());
    if (parser.isSet(options.file)) {
        line.action = CommandLine::Action::Export;
        line.export_request = read_export(parser, options, args);
    } else {
        check_export_options(parser, options);
    }
    return line;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
    WithoutQtOptions own;
    try {
        own = take_qt_options(args);
    } catch (const UsageError& e) {
        return usage_error(e.what());
    }
    Arguments arguments{own.rest, {}};
    for (const std::string& arg : own.rest)
        arguments.decoded << QString::fromLocal8Bit(arg.data(), static_cast<qsizetype>(arg.size()));

    QCommandLineParser parser;
    // "-bogus" is refused as one unknown option, not as five letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringLiteral("version"));
    const ExportOptions exporting;
    parser.addOption(help);
    parser.addOption(version);
    for (const QCommandLineOption* option : exporting.all()) parser.addOption(*option);
    if (!parser.parse(arguments.decoded)) return usage_error(parser.errorText().toStdString());
    if (parser.isSet(help)) return printing(CommandLine::Action::Help, kHelp);
    if (parser.isSet(version)) return printing(CommandLine::Action::Version, "loglezer " LOGLEZER_VERSION "\n");
    try {
        CommandLine line = read_parsed(parser, exporting, arguments);
        line.display_named = own.display_named;
        return line;
    } catch (const UsageError& e) {
        return usage_error(e.what());
    }
}

}  // namespace loglezer
