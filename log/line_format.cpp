#include "log/line_format.h"

#include "log/failure.h"
#include "log/month_names.h"
#include "log/number_text.h"

namespace loglezer {

std::string_view copy_text(std::string_view text, std::size_t from, std::size_t count) {
    if (from < 1 || from > text.size()) return {};
    return text.substr(from - 1, count);
}

std::string_view drop_front(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string_view{} : text.substr(count);
}

std::string_view up_to_comma(std::string_view text) {
    const auto pos = text.find(',');
    return pos == std::string_view::npos ? text : text.substr(0, pos);
}

std::string_view after_comma(std::string_view text) {
    const auto pos = text.find(',');
    return pos == std::string_view::npos ? std::string_view{} : text.substr(pos + 1);
}

std::string_view date_field(std::string_view line) {
    const auto pos = line.find(',');
    return pos == std::string_view::npos ? std::string_view{} : line.substr(0, pos);
}

std::string_view year_text(std::string_view line) { return drop_front(date_field(line), 7); }

std::string_view year_number_text(std::string_view line) { return copy_text(line, 8, 4); }

std::string_view month_abbrev(std::string_view line) { return copy_text(line, 4, 3); }

std::string_view month_year_text(std::string_view line) { return drop_front(date_field(line), 3); }

std::string_view day_text(std::string_view line) { return copy_text(line, 1, 2); }

bool is_log_date(std::string_view line) {
    if (line.size() < 12 || line[11] != ',' || line[2] != '-' || line[6] != '-') return false;
    return line.substr(0, 11).find(',') == std::string_view::npos && is_month_abbrev(line.substr(3, 3));
}

void check_date(std::string_view line) {
    if (!is_log_date(line)) fail_date(up_to_comma(line));
}

int year_number(std::string_view line) { return text_to_int(year_number_text(line)); }

AmountTexts amount_texts(std::string_view line, DateSkip skip) {
    const std::string_view rest = skip == DateSkip::FirstTwelve ? drop_front(line, 12) : after_comma(line);
    const auto comma = rest.find(',');
    if (comma == std::string_view::npos) return {{}, {}};
    const std::string_view after = rest.substr(comma + 1);
    const auto comma2 = after.find(',');
    return {rest.substr(0, comma), comma2 == std::string_view::npos ? std::string_view{} : after.substr(0, comma2)};
}

}  // namespace loglezer
