#include "text/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace loglezer {

double round2(long double value) {
    const double as_double = static_cast<double>(value);
    constexpr long double kHundredth = 0.01;  // the double nearest 0.01, widened exactly
    const long double quotient = static_cast<long double>(as_double) / kHundredth;
    // The default rounding mode rounds halfway cases to the even neighbour.
    const long double whole = std::nearbyintl(quotient);
    return static_cast<double>(whole * kHundredth);
}

long double unit_step(UnitMode units) { return units == UnitMode::Decimal ? 1000.0L : 1024.0L; }

double to_gigabytes(long double bytes, UnitMode units) {
    const long double step = unit_step(units);
    return round2(bytes / step / step / step);
}

void scale_units(long double& download, long double& upload, std::string& suffix, UnitMode units) {
    static constexpr const char* kSteps[] = {" KB", " MB", " GB", " TB"};
    const long double step = unit_step(units);
    for (const char* name : kSteps) {
        if (!(download > step || upload > step)) return;
        download /= step;
        upload /= step;
        suffix = name;
    }
}

std::string general_number_text(double value, char decimal_separator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";  // also -0

    // Fifteen significant digits, as d.dddddddddddddde±x.
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string_view sci(buf, static_cast<std::size_t>(result.ptr - buf));
    const bool negative = sci.front() == '-';
    const std::string_view body = negative ? sci.substr(1) : sci;
    const auto e = body.find('e');
    std::string digits;
    for (char c : body.substr(0, e)) {
        if (c != '.') digits += c;
    }
    const int exponent = std::atoi(std::string(body.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent < 0) {
        text += '0';
        text += decimal_separator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
        return text;
    }
    const auto int_digits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= int_digits) {
        text += digits;
        text.append(int_digits - digits.size(), '0');
    } else {
        text += digits.substr(0, int_digits);
        text += decimal_separator;
        text += digits.substr(int_digits);
    }
    return text;
}

}  // namespace loglezer
