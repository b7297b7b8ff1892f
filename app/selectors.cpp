#include "app/selectors.h"

#include <cctype>

namespace loglezer {

PeriodOption period_option_at(int index) {
    switch (index) {
        case 0:
            return PeriodOption::PerYear;
        case 1:
            return PeriodOption::PerMonth;
        case 2:
            return PeriodOption::PerDay;
        default:
            return PeriodOption::None;
    }
}

SelectorVisibility selector_visibility(PeriodOption option) {
    switch (option) {
        case PeriodOption::PerMonth:
            return {true, false};
        case PeriodOption::PerDay:
            return {true, true};
        case PeriodOption::None:
        case PeriodOption::PerYear:
            break;
    }
    return {false, false};
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
