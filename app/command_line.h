#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart/export.h"
#include "text/number_format.h"

namespace loglezer {

// What `--export` asks for: one chart of one view written as a picture,
// without a window.
struct ExportRequest {
    enum class Chart { Download, Upload };
    enum class Format { Jpeg, Png };

    // The picture's file, byte for byte as it was given; "-" for standard
    // output.
    std::string file;
    Chart chart = Chart::Download;
    Format format = Format::Jpeg;
    // The view: the years when neither is given, the months of `year`, or
    // the days of `month` (1 to 12) in `year`. The year is the text typed
    // into the year box.
    std::optional<std::string> year;
    std::optional<int> month;
    // The current billing period of the allowance instead of a chart of
    // the window (--allowance): the running total per day, the limit and
    // the estimate. Goes with neither a chart, a year nor a month.
    bool allowance = false;
    // The layout's size: the chart is laid out for it.
    int width = kPictureWidth;
    int height = kPictureHeight;
    // How many times as large the layout is drawn, 1 to 4, with up to six
    // decimals: the picture has scaled_pixels(width, scale) x
    // scaled_pixels(height, scale) pixels.
    double scale = 1.0;
};

// What the viewer's command line asks for. Read before any application
// object exists, so that --help, --version and the export work without a
// display.
struct CommandLine {
    enum class Action { Run, Export, Help, Version, UsageError };
    Action action = Action::Run;
    // The log named on the command line, byte for byte as it was given.
    std::optional<std::string> log_file;
    // --vnstat: vnStat's database is the log.
    bool vnstat = false;
    // --interface: the interface of a vnStat database.
    std::optional<std::string> interface;
    // Whether Qt's options name a platform (-platform) or an X display
    // (-display), where the environment may name none.
    bool display_named = false;
    // --units: the figures' GB (and KB, MB, TB), over the key units of
    // [display] in log.ini.
    std::optional<UnitMode> units;
    // Set for Action::Export.
    ExportRequest export_request;
    // Printed before the program ends: on standard output for the help and
    // the version, on standard error for a usage error.
    std::string message;
    int exit_code = 0;
};

// Reads the arguments, the program's name first: `loglezer [--units U]
// [LOGFILE]`, `--help` (or `-h`), `--version`, or `loglezer [LOGFILE]
// --export FILE` with `--chart`, `--year`, `--month` or `--allowance`, and
// `--size`, `--scale`, `--format` and `--units`, by the rule loglezer-stats
// reads its options by (parse_options). Qt's own options (take_qt_options)
// may stand anywhere and are left to Qt. An unknown option, a second log,
// an option given twice or a value the export cannot use is a usage error
// (exit code 1), "loglezer: " and the message.
CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace loglezer
