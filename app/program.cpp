#include "app/program.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/export_mode.h"
#include "app/window.h"

namespace loglezer {

bool install_dutch_qt_texts(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Dutch), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

namespace {

// Whether the environment names a display or a platform for Qt: without
// one, or -platform or -display on the command line, making the
// application would abort the program.
bool display_named() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Prints what a command line that opens no window asks for; returns the
// exit status.
int print_message(const CommandLine& line) {
    std::FILE* out = line.exit_code == 0 ? stdout : stderr;
    const bool written = std::fputs(line.message.c_str(), out) >= 0 && std::fflush(out) == 0;
    return written ? line.exit_code : 1;
}

std::vector<std::string> arguments_of(int argc, char** argv) { return {argv, argv + argc}; }

int run_window(int& argc, char** argv) {
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv; the rest is the program's,
    // read again in case Qt took something the first look left.
    const CommandLine line = parse_command_line(arguments_of(argc, argv));
    if (line.action != CommandLine::Action::Run) return print_message(line);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.loglezer.Loglezer"));  // docks find the icon
    // Before the window, whose start-up may already show a box.
    install_dutch_qt_texts(app);
    WindowSeams seams = WindowSeams::real();
    seams.log_argument = line.vnstat ? std::optional(vnstat_database(seams.vnstat).string()) : line.log_file;
    seams.interface_argument = line.interface;
    seams.units_argument = line.units;
    MainWindow window(std::move(seams));
    if (window.log_missing()) return 1;
    window.show();
    return QApplication::exec();
}

// The first look, before any application object exists: the help, the
// version, a usage error and the export need no display.
int run_command_line(int& argc, char** argv) {
    const CommandLine line = parse_command_line(arguments_of(argc, argv));
    if (line.action == CommandLine::Action::Export) return run_export(line, argv[0]);
    if (line.action != CommandLine::Action::Run) return print_message(line);
    if (!line.display_named && !display_named()) {
        std::fputs("loglezer: no display to open the window on (use --export FILE for a picture)\n", stderr);
        return 1;
    }
    return run_window(argc, argv);
}

}  // namespace

int run_program(int& argc, char** argv) {
    try {
        return run_command_line(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs(kOutOfMemoryLine, stderr);
        return 1;
    }
}

void end_out_of_memory() {
    std::fputs(kOutOfMemoryLine, stderr);
    std::_Exit(1);
}

}  // namespace loglezer
