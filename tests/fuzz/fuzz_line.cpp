// One log line through every reader of its fields and amounts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "log/line_format.h"
#include "log/month_names.h"
#include "log/number_text.h"

using namespace loglezer;
using fuzz::require;
using fuzz::run_checked;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the regional separators, the rest is the line.
    const Separators seps = data[0] & 1 ? Separators{',', '.'} : Separators{'.', ','};
    // A line never holds a NUL: loading skips every one.
    std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
    line = line.substr(0, line.find('\0'));

    const std::string_view date = date_field(line);
    require(date.size() <= line.size() && date.find(',') == std::string_view::npos, "date field");
    require(year_text(line).size() + 7 == date.size() || (date.size() <= 7 && year_text(line).empty()), "year text");
    require(month_year_text(line).size() <= date.size(), "month-year text");
    require(year_number_text(line).size() <= 4 && month_abbrev(line).size() <= 3 && day_text(line).size() <= 2,
            "positions");
    if (is_log_date(line)) require(date.size() == 11 && month_year_text(line).size() == 8, "a good date");

    run_checked([&] { check_date(line); });
    run_checked([&] { year_number(line); });
    for (const DateSkip skip : {DateSkip::FirstTwelve, DateSkip::UpToComma}) {
        const AmountTexts texts = amount_texts(line, skip);
        for (const std::string_view text : {texts.download, texts.upload}) {
            long double value = 0;
            if (run_checked([&] { value = text_to_float(text, seps); })) {
                // Whatever converts can be shown.
                require(value == value && value <= 1.8e308L && value >= -1.8e308L, "amount in range");
            }
        }
    }
    // The whole line as an amount and as a year.
    run_checked([&] { text_to_float(line, seps); });
    const auto parsed = parse_int(line);
    run_checked([&] { require(text_to_int(line) == *parsed, "parse_int and text_to_int agree"); });

    look_up_month(line);
    look_up_month(month_abbrev(line));
    return 0;
}
