#include "stats/month_argument.h"

#include <array>
#include <string>

namespace loglezer {
namespace {

constexpr std::array<std::string_view, 12> kDutch = {"januari",   "februari", "maart",    "april",
                                                     "mei",       "juni",     "juli",     "augustus",
                                                     "september", "oktober",  "november", "december"};
constexpr std::array<std::string_view, 12> kEnglish = {"january",   "february", "march",    "april",
                                                       "may",       "june",     "july",     "august",
                                                       "september", "october",  "november", "december"};

std::optional<int> month_number(std::string_view text) {
    // One or two digits, so "03" is March but "003" is no month.
    if (text.empty() || text.size() > 2) return std::nullopt;
    int number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > 12) return std::nullopt;
    return number;
}

}  // namespace

std::optional<int> month_argument(std::string_view text) {
    if (const auto number = month_number(text)) return number;
    std::string lower(text);
    // ASCII only, whatever the locale: the names are.
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (int i = 0; i < 12; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (lower == kDutch[index] || lower == kEnglish[index] || lower == kEnglish[index].substr(0, 3)) return i + 1;
    }
    return std::nullopt;
}

}  // namespace loglezer
