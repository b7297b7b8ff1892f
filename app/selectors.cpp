#include "app/selectors.h"

#include <cctype>

namespace loglezer {

SelectorVisibility selector_visibility(int option) {
    switch (option) {
        case 1:
            return {true, false};
        case 2:
            return {true, true};
        default:
            return {false, false};
    }
}

std::string program_title(const std::string& executable_path) {
    std::string name = executable_path;
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.erase(dot);
    for (std::size_t i = 1; i < name.size(); ++i) {
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    }
    return name;
}

std::string failure_text(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}

}  // namespace loglezer
