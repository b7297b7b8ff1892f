#include "log/line_format.h"

#include <cstdio>
#include <cstring>

#include "log/calendar.h"
#include "log/failure.h"
#include "log/number_text.h"

namespace loglezer {

std::string_view copy_text(std::string_view text, std::size_t from, std::size_t count) {
    if (from < 1 || from > text.size()) return {};
    return text.substr(from - 1, count);
}

std::string_view up_to_comma(std::string_view text) { return text.substr(0, text.find(',')); }

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

bool is_log_date(std::string_view line) { return line.size() >= 12 && line[11] == ',' && has_log_date_form(line); }

void check_date(std::string_view line) {
    if (!is_log_date(line)) fail_date(up_to_comma(line));
}

int year_number(std::string_view line) { return text_to_int(year_number_text(line)); }

YearNumberIs::YearNumberIs(int year) : year_(year) {
    if (year < 0 || year > 9999) return;
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04d", year);
    std::memcpy(&digits_, digits, 4);
}

AmountTexts amount_texts(std::string_view line, DateSkip skip) {
    const std::string_view rest = skip == DateSkip::FirstTwelve ? drop_front(line, 12) : after_comma(line);
    const auto first = rest.find(',');
    if (first == std::string_view::npos) return {{}, {}};
    const std::string_view download = rest.substr(0, first);
    // A line may end after its upload amount: the meter's fields after it
    // are not read, and a log made by hand or by another program has none.
    const auto second = rest.find(',', first + 1);
    if (second == std::string_view::npos) return {download, rest.substr(first + 1)};
    return {download, rest.substr(first + 1, second - first - 1)};
}

bool plain_amounts(std::string_view line, std::uint64_t& download, std::uint64_t& upload) {
    const AmountTexts texts = amount_texts(line, DateSkip::FirstTwelve);
    return plain_digits_value(texts.download, download) && plain_digits_value(texts.upload, upload);
}

}  // namespace loglezer
