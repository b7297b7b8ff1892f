#include "app/export_mode.h"

#include <QFile>
#include <QGuiApplication>
#include <iostream>
#include <new>
#include <optional>

#include "allowance/allowance_box.h"
#include "allowance/allowance_chart.h"
#include "app/program.h"
#include "app/selectors.h"
#include "app/window.h"
#include "chart/chart_painter.h"
#include "chart/chart_panel.h"
#include "chart/export.h"
#include "chart/jpeg.h"
#include "frontend/messages.h"
#include "log/failure.h"
#include "log/log_file.h"
#include "session/session.h"
#include "settings/log_lookup.h"
#include "settings/settings_files.h"
#include "text/regional.h"

namespace loglezer {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "loglezer";

QString picture_path(const ExportContext& context, const std::string& file) {
    return QFile::decodeName(resolve_path(context.working_dir, file).c_str());
}

void write_picture(const ExportRequest& request, const std::vector<unsigned char>& bytes,
                   const ExportContext& context) {
    if (request.file != "-") {
        write_file_whole(picture_path(context, request.file), bytes);
        return;
    }
    context.out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    context.out.flush();
    if (!context.out) throw Failure("Cannot write the picture to standard output");
}

// Qt's messages, less one: cron runs its jobs without XDG_RUNTIME_DIR, and
// at every start Qt warns that it is missing, though it only looks there for
// a Wayland display, which the offscreen platform never uses. Cron would
// mail that warning every night.
void without_runtime_dir_warning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    std::cerr << qFormatLogMessage(type, context, message).toStdString() << std::endl;
}

}  // namespace

namespace {

// `chart` drawn unzoomed as the request asks, and encoded.
std::vector<unsigned char> draw_and_encode(const ExportRequest& request, const ChartModel& chart,
                                           const Separators& seps) {
    const QImage picture =
        ChartPainter(chart, seps, ChartPanel::kAll).picture(request.width, request.height, request.scale);
    if (picture.isNull()) {
        throw Failure("Cannot make a picture of " + std::to_string(scaled_pixels(request.width, request.scale)) +
                      " x " + std::to_string(scaled_pixels(request.height, request.scale)) + " pixels");
    }
    return request.format == ExportRequest::Format::Png ? encode_png(picture) : encode_jpeg(picture);
}

}  // namespace

std::vector<unsigned char> export_picture(const ExportRequest& request, Session& session, const Separators& seps) {
    if (const std::optional<std::string>& failure = session.settings().units_failure) throw Failure(*failure);
    session.run_start_up();
    if (request.year) session.show_period(*request.year, request.month);
    const Screen& screen = session.screen();
    return draw_and_encode(request, request.chart == ExportRequest::Chart::Upload ? screen.upload : screen.download,
                           seps);
}

std::vector<unsigned char> export_allowance_picture(const ExportRequest& request, const Session& session,
                                                    const Separators& seps) {
    const LogSettings& settings = session.settings();
    if (settings.allowance_failure) throw Failure(*settings.allowance_failure);
    const std::optional<AllowanceFigures> figures = current_allowance(session.lines(), settings.allowance, seps);
    if (!figures) {
        throw Failure("--allowance needs a limit: set limit= in the section [allowance] of " +
                      where_to_set_limit(settings.allowance));
    }
    return draw_and_encode(request, allowance_chart(*figures, settings.allowance.units, seps), seps);
}

int export_chart(const CommandLine& line, const ExportContext& context) {
    const ExportRequest& request = line.export_request;
    // The log's name as given or as a log.ini writes it, for the messages; a
    // failure to read it names no line.
    std::string name;
    const std::optional<std::string> log =
        line.vnstat ? std::optional(vnstat_database(context.vnstat).string()) : line.log_file;
    const SessionPlaces places{{context.working_dir, context.user_ini, context.vnstat},
                               log,
                               {line.units, {}},
                               context.separators,
                               {},
                               line.interface};
    // Outside the failures' boundary, so that a failure on a database's row
    // can name it.
    Session session(places);
    try {
        name = log_name(places.places, log);
        if (!session.locate()) {
            context.err << missing_log_line(kProgram, places.places, log);
            return 2;
        }
        // Refused before anything is read: nothing the log holds changes it.
        if (request.file != "-") refuse_log_file(picture_path(context, request.file), session.log().path);
        session.read_log();
        for (const std::string& warning : session.warnings()) context.err << error_line(kProgram, warning);
        write_picture(request,
                      request.allowance ? export_allowance_picture(request, session, context.separators)
                                        : export_picture(request, session, context.separators),
                      context);
        return 0;
    } catch (const Failure& failure) {
        context.err << failure_line(kProgram, failure, name, failure.what(), &session.lines());
        return 1;
    } catch (const std::bad_alloc&) {
        context.err << kOutOfMemoryLine;
        return 1;
    } catch (const std::exception& e) {
        context.err << error_line(kProgram, e.what());
        return 1;
    }
}

int run_export(const CommandLine& line, char* program_name) {
    // Chosen before the application is made: without a display the default
    // platform would abort. The offscreen platform takes its fonts from
    // fontconfig as the window's does, so the picture is the window's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(without_runtime_dir_warning);
    // Nothing on the command line is meant for Qt: its own options there
    // were for a window, and none of them changes the picture.
    int argc = 1;
    char* argv[] = {program_name, nullptr};
    const QGuiApplication app(argc, argv);
    const ExportContext context{working_directory(), user_log_ini(), system_separators(),
                                std::cout,           std::cerr,      vnstat_places()};
    return export_chart(line, context);
}

}  // namespace loglezer
