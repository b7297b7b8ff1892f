#include "stats/top_days.h"

#include <algorithm>

#include "log/failure.h"
#include "log/line_format.h"
#include "log/number_text.h"
#include "text/number_format.h"

namespace loglezer {
namespace {

struct Day {
    long long line;
    LogDate date;
    long double download, upload;
};

Day read_day(const LineList& lines, long long index, const Separators& seps) {
    const std::string_view line = lines.at(index);
    return lines.noting_line(index, [&] {
        check_date(line);
        const auto date = read_log_date(line);
        if (!date) fail_date(up_to_comma(line));
        Day day{index, *date, 0, 0};
        const AmountTexts texts = amount_texts(line, DateSkip::FirstTwelve);
        day.download = text_to_float(texts.download, seps);
        day.upload = text_to_float(texts.upload, seps);
        return day;
    });
}

// The largest `count` of the days by one amount, ties in log order.
std::vector<TopDay> largest(const std::vector<Day>& days, long long count, long double Day::*amount, UnitMode units) {
    std::vector<const Day*> order;
    order.reserve(days.size());
    for (const Day& day : days) order.push_back(&day);
    const auto end = order.begin() + static_cast<std::ptrdiff_t>(std::min(count, static_cast<long long>(days.size())));
    std::partial_sort(order.begin(), end, order.end(), [amount](const Day* a, const Day* b) {
        return a->*amount != b->*amount ? a->*amount > b->*amount : a->line < b->line;
    });
    std::vector<TopDay> top;
    for (auto it = order.begin(); it != end; ++it) {
        const Day& day = **it;
        top.push_back({day.line, day.date, day.*amount, to_gigabytes(day.*amount, units)});
    }
    return top;
}

}  // namespace

TopDays top_days(const LineList& lines, long long count, std::optional<int> year, const Separators& seps,
                 UnitMode units) {
    std::vector<Day> days;
    for (long long index = 0; index < lines.count(); ++index) {
        if (year && parse_int(year_number_text(lines.at(index))) != year) continue;
        days.push_back(read_day(lines, index, seps));
    }
    return {largest(days, count, &Day::download, units), largest(days, count, &Day::upload, units)};
}

}  // namespace loglezer
