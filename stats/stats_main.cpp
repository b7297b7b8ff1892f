// loglezer-stats: the viewer's figures as text, CSV or JSON.
#include <unistd.h>

#include <clocale>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "log/log_file.h"
#include "stats/cli.h"
#include "stats/regional.h"

int main(int argc, char** argv) {
    try {
        // The C library's messages (a write's reason) in the user's language.
        // The numbers of the output do not follow it.
        std::setlocale(LC_ALL, "");
        const loglezer::NumericLocale locale = loglezer::numeric_locale();
        const std::vector<std::string> args(argv + 1, argv + argc);
        loglezer::cli::DescriptorOutput out(STDOUT_FILENO);
        return loglezer::cli::run(args, out, std::cerr, loglezer::working_directory(), locale);
    } catch (const std::bad_alloc&) {
        // Written without taking memory: there is none to take.
        static constexpr char kMessage[] = "loglezer-stats: out of memory\n";
        const ssize_t written = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
        static_cast<void>(written);  // a message that cannot be written has no one to go to
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "loglezer-stats: " << loglezer::message_text(e.what()) << '\n';
        return 1;
    }
}
