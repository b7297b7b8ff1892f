// loglezer-stats: the viewer's figures as text, CSV or JSON.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "stats/cli.h"
#include "stats/regional.h"

int main(int argc, char** argv) {
    try {
        const loglezer::Separators seps = loglezer::separators_from_locale();
        const std::vector<std::string> args(argv + 1, argv + argc);
        return loglezer::cli::run(args, std::cout, std::cerr, std::filesystem::current_path(), seps);
    } catch (const std::exception& e) {
        std::cerr << "loglezer-stats: " << e.what() << '\n';
        return 1;
    }
}
