#include "app/command_line.h"

#include <QCommandLineParser>
#include <QStringList>

namespace loglezer {
namespace {

constexpr const char* kHelp =
    "Usage: loglezer [LOGFILE]\n"
    "Shows a daily internet traffic log as bar charts of download and upload.\n"
    "\n"
    "  LOGFILE        the log to read, instead of the one log.ini in the\n"
    "                 working directory names or the default path\n"
    "  -h, --help     print this text and exit\n"
    "  --version      print the program's version and exit\n";

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

// The argument as it was given: a file name need not be valid in the
// locale's encoding, so the bytes are taken from the arguments themselves.
std::string raw_argument(const std::vector<std::string>& args, const QStringList& decoded, const QString& wanted) {
    for (qsizetype i = 1; i < decoded.size(); ++i) {
        if (decoded[i] == wanted) return args[static_cast<std::size_t>(i)];
    }
    return wanted.toLocal8Bit().toStdString();
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
    QStringList decoded;
    for (const std::string& arg : args)
        decoded << QString::fromLocal8Bit(arg.data(), static_cast<qsizetype>(arg.size()));

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(decoded)) return usage_error(parser.errorText().toStdString());
    if (parser.isSet(help)) return printing(CommandLine::Action::Help, kHelp);
    if (parser.isSet(version)) return printing(CommandLine::Action::Version, "loglezer " LOGLEZER_VERSION "\n");

    const QStringList logs = parser.positionalArguments();
    if (logs.size() > 1) return usage_error("one log file at most");
    CommandLine line;
    if (!logs.isEmpty()) line.log_file = raw_argument(args, decoded, logs.front());
    return line;
}

}  // namespace loglezer
