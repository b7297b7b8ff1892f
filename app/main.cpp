#include <filesystem>
#include <iostream>

#include "log/failure.h"
#include "log/log_file.h"

int main() {
    try {
        const auto lines = loglezer::locate_and_load(std::filesystem::current_path());
        if (!lines) {
            std::cerr << loglezer::kLogMissingMessage << '\n';
            return 1;
        }
        std::cout << lines->count() << " regels geladen\n";
    } catch (const loglezer::Failure& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
