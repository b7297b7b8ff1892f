#include "app/program.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
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

int run_program(int& argc, char** argv) {
    const CommandLine line = parse_command_line(std::vector<std::string>(argv, argv + argc));
    if (line.action == CommandLine::Action::Export) return run_export(line, argv[0]);
    if (line.action != CommandLine::Action::Run) {
        std::FILE* out = line.exit_code == 0 ? stdout : stderr;
        const bool written = std::fputs(line.message.c_str(), out) >= 0 && std::fflush(out) == 0;
        return written ? line.exit_code : 1;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.loglezer.Loglezer"));  // docks find the icon
    // Before the window, whose start-up may already show a box.
    install_dutch_qt_texts(app);
    WindowSeams seams = WindowSeams::real();
    seams.log_argument = line.log_file;
    TForm1 form(std::move(seams));
    if (form.log_missing()) return 1;
    form.show();
    return QApplication::exec();
}

}  // namespace loglezer
