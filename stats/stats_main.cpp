// loglezer-stats: the viewer's figures as text, CSV or JSON.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "stats/cli.h"
#include "stats/regional.h"

namespace {

// Writes the whole text to the descriptor, going on after interruptions and
// short writes. Returns 0, or the errno of the write that failed: output lost
// to a full disk or a closed descriptor must not pass for output written.
int write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        // The C library's messages (a write's reason) in the user's language.
        std::setlocale(LC_ALL, "");
        const loglezer::NumericLocale locale = loglezer::numeric_locale();
        if (!locale.installed) {
            std::cerr << "loglezer-stats: the locale " << loglezer::message_text(locale.name)
                      << " is not installed; reading amounts with \"" << locale.separators.decimal
                      << "\" as the decimal point\n";
        }
        const loglezer::Separators seps = locale.separators;
        const std::vector<std::string> args(argv + 1, argv + argc);
        const loglezer::cli::Outcome outcome =
            loglezer::cli::run(args, std::cerr, std::filesystem::current_path(), seps);
        if (const int error = write_all(STDOUT_FILENO, outcome.output)) {
            std::cerr << "loglezer-stats: cannot write the output: " << std::strerror(error) << '\n';
            return 1;
        }
        return outcome.status;
    } catch (const std::exception& e) {
        std::cerr << "loglezer-stats: " << loglezer::message_text(e.what()) << '\n';
        return 1;
    }
}
