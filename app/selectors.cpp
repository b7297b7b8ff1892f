#include "app/selectors.h"

#include <cctype>

#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"

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

std::vector<std::string> collect_months(const LineList& lines, const std::function<std::string()>& year_text,
                                        SharedState& shared) {
    long long index = 0;
    for (;;) {
        const int chosen = text_to_int(year_text());
        if (year_number(lines.at(index)) == chosen) break;
        ++index;
    }

    std::vector<std::string> months;
    std::string last_abbrev;
    for (; index < lines.count(); ++index) {
        const std::string_view abbrev = month_abbrev(lines.at(index));
        if (abbrev == last_abbrev) continue;
        last_abbrev = std::string(abbrev);
        setmonth(abbrev, shared);
        months.push_back(shared.current_month_name);
        if (months.back() == "December") break;
    }
    return months;
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
